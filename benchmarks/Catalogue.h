#pragma once

#include <string>

namespace Tesmo::Benchmarks
{

// Prints the median time of GetSupportedExtensions and GetDisplayName on a copy of the
// plug-in: with no settings file, with one that excludes extensions, and with a scratch
// registry of 50 decoders.
void MeasureCatalogue(const std::wstring& pluginPath);

} // namespace Tesmo::Benchmarks
