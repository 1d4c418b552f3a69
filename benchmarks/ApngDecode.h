#pragma once

#include "WorkerThread.h"
#include "hosting/BareWicDecoder.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// Times the animated-PNG sticker (StickerAnimation.h) written into folder: the plug-in
// (on pluginThread, without COM) decoding every frame in turn as a host playing it asks
// for them, composed on the canvas, against bare WIC (on bareThread) decoding each frame's
// own PNG once, and against bare WIC decoding the frame PNGs each of the plug-in's calls
// draws (from the last whole-canvas frame); then a still PNG of the same size, the
// plug-in against bare WIC, for the cost of telling a still PNG from an animated one.
void MeasureApngDecode(const PluginHost::PluginLibrary& plugin, const std::wstring& folder,
                       WorkerThread& pluginThread, WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare);

} // namespace Tesmo::Benchmarks
