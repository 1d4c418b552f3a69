#pragma once

#include "BenchmarkImages.h"

#include <string>
#include <vector>

namespace Tesmo::Benchmarks
{

// The internal command this program runs itself with for one memory probe.
inline constexpr wchar_t memoryProbeCommand[] = L"memory-probe";

// Prints the peak working set of one decode of each large image, by the plug-in and by
// bare WIC, each in a process of its own (this program with memoryProbeCommand), above
// the working set before that decode.
void MeasureMemory(const std::wstring& pluginPath, const std::vector<BenchmarkImage>& images);

// The child-process side: one decode of image, by the plug-in or by bare WIC (contender
// "plugin" or "bare"), printing the working set before it and the peak after it.
int RunMemoryProbe(const std::wstring& pluginPath, const std::wstring& imagePath, const std::wstring& contender);

} // namespace Tesmo::Benchmarks
