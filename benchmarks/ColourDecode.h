#pragma once

#include "WorkerThread.h"
#include "hosting/BareWicDecoder.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// Times what converting a picture's colours to sRGB through its embedded ICC profile costs:
// pictures of largeMegapixels (12: 4000 x 3000) through the plug-in on pluginThread, each
// tagged against the same pixels untagged: an Adobe RGB PNG, an sRGB-tagged PNG, an Adobe
// RGB TIFF page, a CMYK page through the colour engine (against the same colours as an RGB
// page) and a 16-bit ProPhoto PNG. For scale, the untagged PNG through the plug-in against
// bare WIC on bareThread. Writes the files into folder a pair at a time; prints medians,
// spreads, ratios and the goals.
void MeasureColour(const PluginHost::PluginLibrary& plugin, const std::wstring& folder, unsigned int largeMegapixels,
                   WorkerThread& pluginThread, WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare);

} // namespace Tesmo::Benchmarks
