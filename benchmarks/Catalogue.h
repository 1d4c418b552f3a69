#pragma once

#include <string>

namespace Tesmo::Benchmarks
{

// The internal command this program runs itself with for one catalogue probe.
inline constexpr wchar_t catalogueProbeCommand[] = L"catalogue-probe";

// With an earlier build of the plug-in, prints the cost of one GetSupportedExtensions call
// of each in fresh processes and their ratio. Then the median time of
// GetSupportedExtensions and GetDisplayName on a copy of the plug-in: with no settings
// file, with one that excludes extensions, and with a scratch registry of 50 decoders.
void MeasureCatalogue(const std::wstring& pluginPath, const std::wstring& earlierPluginPath);

// The child-process side: prints the median time of GetSupportedExtensions in
// milliseconds and the number of extensions in the list.
int RunCatalogueProbe(const std::wstring& pluginPath);

} // namespace Tesmo::Benchmarks
