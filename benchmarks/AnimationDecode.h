#pragma once

#include "AnimationImages.h"
#include "WorkerThread.h"
#include "hosting/BareWicDecoder.h"
#include "hosting/PluginLibrary.h"

namespace Tesmo::Benchmarks
{

// Times GIF animation frames: the plug-in on pluginThread (which has not joined COM)
// composing frame k on the screen, against bare WIC on bareThread handing over frame k's
// own rectangle, the two taking turns. For the delta animation: its first, middle and last
// frames, and every frame in turn as a host playing it asks for them; for the tiny frames,
// the last one. Prints medians, spreads and ratios.
void MeasureAnimationDecode(const PluginHost::PluginLibrary& plugin, const Animations& animations,
                            WorkerThread& pluginThread, WorkerThread& bareThread,
                            const PluginHost::BareWicDecoder& bare);

} // namespace Tesmo::Benchmarks
