#include "MemoryProbe.h"

#include "Contenders.h"
#include "hosting/AnsiPath.h"
#include "hosting/BareWicDecoder.h"
#include "hosting/ComApartment.h"
#include "hosting/PluginLibrary.h"
#include "support/ChildProcess.h"

#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <cstdio>
#include <stdexcept>

namespace Tesmo::Benchmarks
{

namespace
{

struct WorkingSet
{
    unsigned long long before = 0;
    unsigned long long peak = 0;
};

PROCESS_MEMORY_COUNTERS MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

WorkingSet ProbeInChild(const std::wstring& pluginPath, const std::wstring& imagePath, const wchar_t* contender)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + memoryProbeCommand + L" \"" + pluginPath +
                                     L"\" \"" + imagePath + L"\" " + contender;
    const std::string output = Tests::RunChildProcess(commandLine, false).output;
    WorkingSet probe;
    if (std::sscanf(output.c_str(), "%llu %llu", &probe.before, &probe.peak) != 2)
    {
        throw std::runtime_error("the memory probe failed: " + output);
    }
    return probe;
}

} // namespace

void MeasureMemory(const std::wstring& pluginPath, const std::vector<BenchmarkImage>& images)
{
    std::printf("\nMemory: peak working set during one decode, above the working set before it (own processes)\n");
    std::printf("  %-11s %12s %12s %12s %12s %10s\n", "image", "plug-in MB", "bare MB", "difference", "buffer MB",
                "of buffer");
    for (const BenchmarkImage& image : images)
    {
        if (image.width * image.height < 2'000'000)
        {
            continue; // the small images' buffers are lost in the heap's own slack
        }
        const WorkingSet ours = ProbeInChild(pluginPath, image.path, L"plugin");
        const WorkingSet theirs = ProbeInChild(pluginPath, image.path, L"bare");
        constexpr double megabyte = 1024.0 * 1024.0;
        const double pluginGrowth = (static_cast<double>(ours.peak) - ours.before) / megabyte;
        const double bareGrowth = (static_cast<double>(theirs.peak) - theirs.before) / megabyte;
        const double buffer = 3.0 * image.width * image.height / megabyte;
        std::printf("  %-11ls %12.1f %12.1f %12.1f %12.1f %9.1f%%\n", image.label.c_str(), pluginGrowth, bareGrowth,
                    pluginGrowth - bareGrowth, buffer, 100.0 * (pluginGrowth - bareGrowth) / buffer);
    }
}

int RunMemoryProbe(const std::wstring& pluginPath, const std::wstring& imagePath, const std::wstring& contender)
{
    const PluginHost::PluginLibrary plugin(pluginPath);
    WorkingSet probe;
    // A first decode loads WIC and its codecs, which both contenders need alike.
    if (contender == L"plugin")
    {
        const std::string narrowPath = PluginHost::AnsiPath(imagePath);
        DecodeWithPlugin(plugin, narrowPath, 0);
        probe.before = MemoryCounters().WorkingSetSize;
        DecodeWithPlugin(plugin, narrowPath, 0);
    }
    else if (contender == L"bare")
    {
        const PluginHost::ComApartment com(COINIT_APARTMENTTHREADED);
        const PluginHost::BareWicDecoder bare;
        DecodeWithBareWic(bare, imagePath, 0);
        probe.before = MemoryCounters().WorkingSetSize;
        DecodeWithBareWic(bare, imagePath, 0);
    }
    else
    {
        throw std::runtime_error("the memory probe's contender is plugin or bare");
    }
    probe.peak = MemoryCounters().PeakWorkingSetSize;
    std::printf("%llu %llu\n", probe.before, probe.peak);
    return 0;
}

} // namespace Tesmo::Benchmarks
