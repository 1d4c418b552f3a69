#pragma once

#include <string>

namespace Tesmo::Benchmarks
{

// Measures the plug-in against bare WIC in this process and prints medians, spreads and
// ratios: decode overhead, GIF animation frames, the pixel steps (orientation, colour
// through a profile, alpha over the background), memory, catalogue calls and thread
// scaling. With decodeOnly, only the decode times (overhead, animation frames and the
// pixel steps) are measured. The large JPEG and PNG, and the colour and alpha pictures,
// have largeMegapixels (12 normally; fewer for a quick run). With an earlier build of the
// plug-in, its catalogue call is set beside this one's.
int RunBenchmark(const std::wstring& pluginPath, bool decodeOnly, unsigned int largeMegapixels,
                 const std::wstring& earlierPluginPath);

// The animated-PNG figures alone, for a quick run (the emulated 32-bit build, say).
int RunApngBenchmark(const std::wstring& pluginPath);

} // namespace Tesmo::Benchmarks
