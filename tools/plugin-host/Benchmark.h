#pragma once

#include <string>

namespace Tesmo::PluginHost
{

// Measures the plug-in against bare WIC in this process and prints medians, spreads and
// ratios: decode overhead, memory, catalogue calls and thread scaling. With decodeOnly,
// only the decode overhead is measured (for the emulated 32-bit build).
int RunBenchmark(const std::wstring& pluginPath, bool decodeOnly);

// The child-process side of the memory measurement: one decode of image, by the plug-in
// or by bare WIC, printing the working set before it and the peak after it.
int RunMemoryProbe(const std::wstring& pluginPath, const std::wstring& imagePath, const std::wstring& contender);

} // namespace Tesmo::PluginHost
