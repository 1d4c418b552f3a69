#pragma once

#include "WorkerThread.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// Times what compositing a picture with alpha over the background costs: an RGBA PNG of
// largeMegapixels (12: 4000 x 3000), straight alpha from fully transparent through every
// level to opaque, against the same colours as an opaque RGB PNG, both through the plug-in
// on pluginThread, taking turns. Writes both files into folder; prints medians, spreads,
// the ratio and its goal.
void MeasureAlpha(const PluginHost::PluginLibrary& plugin, const std::wstring& folder, unsigned int largeMegapixels,
                  WorkerThread& pluginThread);

} // namespace Tesmo::Benchmarks
