#pragma once

#include "BenchmarkImages.h"
#include "WorkerThread.h"
#include "hosting/BareWicDecoder.h"
#include "hosting/PluginLibrary.h"

#include <vector>

namespace Tesmo::Benchmarks
{

// Times frame 0 of each image decoded by the plug-in on pluginThread, in whatever COM
// state that thread is in (described by pluginThreadState), against bare WIC on
// bareThread, the two taking turns; prints medians, spreads and ratios.
void MeasureDecodeOverhead(const PluginHost::PluginLibrary& plugin, const std::vector<BenchmarkImage>& images,
                           WorkerThread& pluginThread, WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare,
                           const char* pluginThreadState);

} // namespace Tesmo::Benchmarks
