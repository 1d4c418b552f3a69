#include "Catalogue.h"

#include "Statistics.h"
#include "Timing.h"
#include "hosting/PluginLibrary.h"
#include "support/ChildProcess.h"
#include "support/FileBytes.h"
#include "support/ScratchClassesRoot.h"
#include "support/ScratchFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// A copy of the plug-in in the folder, so that a settings file written beside it is the
// benchmark's alone.
std::wstring CopyInto(const Tests::ScratchFolder& folder, const std::wstring& pluginPath)
{
    const std::wstring copyPath = folder / L"WicImagePlugin.dll";
    if (!CopyFileW(pluginPath.c_str(), copyPath.c_str(), FALSE))
    {
        throw std::runtime_error("cannot copy the plug-in");
    }
    return copyPath;
}

double ListMilliseconds(const PluginHost::PluginLibrary& plugin)
{
    return MedianMilliseconds([&] { std::free(plugin.getSupportedExtensions()); });
}

struct ProbeFigures
{
    double milliseconds = 0;
    unsigned int extensions = 0;
};

// One catalogue probe of a plug-in in a process of its own, as a host's first call.
ProbeFigures ProbeInChild(const std::wstring& pluginPath)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::string output = Tests::RunChildProcess(L"\"" + std::wstring(program) + L"\" " + catalogueProbeCommand +
                                                          L" \"" + pluginPath + L"\"",
                                                      false)
                                   .output;
    ProbeFigures figures;
    if (std::sscanf(output.c_str(), "%lf %u", &figures.milliseconds, &figures.extensions) != 2)
    {
        throw std::runtime_error("the catalogue probe failed: " + output);
    }
    return figures;
}

// The list as the plug-in makes it now against an earlier build's, each probed in a fresh
// process, the two alternating.
void CompareWithEarlierBuild(const std::wstring& pluginPath, const std::wstring& earlierPluginPath)
{
    constexpr int probes = 5;
    std::vector<double> now;
    std::vector<double> before;
    ProbeFigures nowFigures;
    ProbeFigures beforeFigures;
    for (int probe = 0; probe < probes; ++probe)
    {
        nowFigures = ProbeInChild(pluginPath);
        beforeFigures = ProbeInChild(earlierPluginPath);
        now.push_back(nowFigures.milliseconds);
        before.push_back(beforeFigures.milliseconds);
    }
    const Summary nowSummary = Summarise(now);
    const Summary beforeSummary = Summarise(before);
    std::printf("\nCatalogue: one GetSupportedExtensions call in a fresh process with no other COM apartment,\n"
                "median of %d probes of %d calls each, ms (min-max)\n",
                probes, catalogueRuns);
    std::printf("  %-44s %8.3f (%.3f-%.3f), %u extensions\n", "this build", nowSummary.median, nowSummary.minimum,
                nowSummary.maximum, nowFigures.extensions);
    std::printf("  %-44s %8.3f (%.3f-%.3f), %u extensions\n", "the earlier build", beforeSummary.median,
                beforeSummary.minimum, beforeSummary.maximum, beforeFigures.extensions);
    std::printf("  %-44s %8.2f\n", "this / earlier", nowSummary.median / beforeSummary.median);
}

} // namespace

int RunCatalogueProbe(const std::wstring& pluginPath)
{
    const PluginHost::PluginLibrary plugin(pluginPath);
    char* list = plugin.getSupportedExtensions();
    const std::size_t length = list == nullptr ? 0 : std::strlen(list);
    const auto extensions = static_cast<unsigned int>(length == 0 ? 0 : 1 + std::count(list, list + length, ','));
    std::free(list);
    std::printf("%.4f %u\n", ListMilliseconds(plugin), extensions);
    return 0;
}

void MeasureCatalogue(const std::wstring& pluginPath, const std::wstring& earlierPluginPath)
{
    if (!earlierPluginPath.empty())
    {
        CompareWithEarlierBuild(pluginPath, earlierPluginPath);
    }
    std::printf("\nCatalogue: median of %d calls, ms\n", catalogueRuns);
    std::printf("  %-36s %24s %16s\n", "situation", "GetSupportedExtensions", "GetDisplayName");

    const Tests::ScratchFolder folder;
    const PluginHost::PluginLibrary plugin(CopyInto(folder, pluginPath));
    const auto measure = [&](const char* situation) {
        const double list = ListMilliseconds(plugin);
        const double name = MedianMilliseconds([&] {
            char buffer[64];
            plugin.getDisplayName(buffer, sizeof buffer);
        });
        std::printf("  %-36s %24.3f %16.3f\n", situation, list, name);
    };

    if (!earlierPluginPath.empty())
    {
        const Tests::ScratchFolder earlierFolder;
        const PluginHost::PluginLibrary earlier(CopyInto(earlierFolder, earlierPluginPath));
        std::printf("  %-36s %24.3f\n", "the earlier build, no settings file", ListMilliseconds(earlier));
    }
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
