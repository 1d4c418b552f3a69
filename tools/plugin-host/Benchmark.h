#pragma once

#include <string>

namespace Tesmo::PluginHost
{

// Measures the plug-in against bare WIC in this process and prints medians, spreads and
// ratios: decode overhead, memory, catalogue calls and thread scaling. With decodeOnly,
// only the decode overhead is measured. The large JPEG and PNG have largeMegapixels (12
// normally; fewer for the emulated 32-bit build, where only the ratios mean anything).
// With onOneThread, both contenders run on the calling thread in a single-threaded
// apartment (the case of a host's UI thread) and the no-COM case is left out: for
// emulators whose threads cannot be trusted.
int RunBenchmark(const std::wstring& pluginPath, bool decodeOnly, unsigned int largeMegapixels, bool onOneThread);

// The child-process side of the memory measurement: one decode of image, by the plug-in
// or by bare WIC, printing the working set before it and the peak after it.
int RunMemoryProbe(const std::wstring& pluginPath, const std::wstring& imagePath, const std::wstring& contender);

} // namespace Tesmo::PluginHost
