#pragma once

#include "WorkerThread.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// Times what turning a photo upright costs: a 4000 x 3000 TIFF page whose Orientation tag
// says 6 (turned 90 degrees clockwise on the way to the host, which gets 3000 x 4000)
// against the same stored pixels tagged 1 (handed over as stored), both through the
// plug-in on pluginThread, taking turns. Writes both files into folder; prints medians,
// spreads and the ratio.
void MeasureOrientation(const PluginHost::PluginLibrary& plugin, const std::wstring& folder,
                        WorkerThread& pluginThread);

} // namespace Tesmo::Benchmarks
