#include "Catalogue.h"

#include "Statistics.h"
#include "Timing.h"
#include "hosting/PluginLibrary.h"
#include "support/FileBytes.h"
#include "support/ScratchClassesRoot.h"
#include "support/ScratchFolder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace Tesmo::Benchmarks
{

namespace
{

constexpr int catalogueRuns = 31;
constexpr int scratchDecoders = 50;
constexpr wchar_t excludingSettings[] = L"[GUI]\r\nname=Benchmark images\r\n"
                                        L"[Extensions]\r\ngif=excluded\r\nbmp=Excluded\r\ntiff=excluded\r\n";

double MedianMilliseconds(const std::function<void()>& call)
{
    call();
    std::vector<double> times;
    for (int run = 0; run < catalogueRuns; ++run)
    {
        times.push_back(MillisecondsOf(call));
    }
    return Summarise(times).median;
}

} // namespace

void MeasureCatalogue(const std::wstring& pluginPath)
{
    std::printf("\nCatalogue: median of %d calls, ms\n", catalogueRuns);
    std::printf("  %-36s %24s %16s\n", "situation", "GetSupportedExtensions", "GetDisplayName");

    // A copy in a folder of its own, so the settings file written beside it is the
    // benchmark's alone.
    const Tests::ScratchFolder folder;
    const std::wstring copyPath = folder / L"WicImagePlugin.dll";
    if (!CopyFileW(pluginPath.c_str(), copyPath.c_str(), FALSE))
    {
        throw std::runtime_error("cannot copy the plug-in");
    }
    const PluginHost::PluginLibrary plugin(copyPath);
    const auto measure = [&](const char* situation) {
        const double list = MedianMilliseconds([&] { std::free(plugin.getSupportedExtensions()); });
        const double name = MedianMilliseconds([&] {
            char buffer[64];
            plugin.getDisplayName(buffer, sizeof buffer);
        });
        std::printf("  %-36s %24.3f %16.3f\n", situation, list, name);
    };

    measure("no settings file");
    Tests::WriteUtf16File(folder / L"WicImagePlugin.ini", excludingSettings);
    measure("settings file excluding 3 extensions");
    DeleteFileW((folder / L"WicImagePlugin.ini").c_str());

    const Tests::ScratchClassesRoot registry;
    for (int decoder = 0; decoder < scratchDecoders; ++decoder)
    {
        const std::wstring number = std::to_wstring(decoder);
        registry.Register(
            Tests::CompleteDecoder(L"decoder-" + number, L".b" + number + L",.B" + number + L"x,.jpg,.common"));
    }
    measure("scratch registry of 50 decoders");
}

} // namespace Tesmo::Benchmarks
