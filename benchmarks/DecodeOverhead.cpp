#include "DecodeOverhead.h"

#include "AlternatingRuns.h"
#include "Contenders.h"
#include "hosting/AnsiPath.h"

#include <cstdio>
#include <string>

namespace Tesmo::Benchmarks
{

void MeasureDecodeOverhead(const PluginHost::PluginLibrary& plugin, const std::vector<BenchmarkImage>& images,
                           WorkerThread& pluginThread, WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare,
                           const char* pluginThreadState)
{
    std::printf("\nDecode, frame 0: plug-in on a thread %s; bare WIC with one reused factory\n", pluginThreadState);
    std::printf("  %-11s %26s %26s %7s %10s\n", "image", "plug-in ms (min-max)", "bare ms (min-max)", "ratio",
                "overhead");
    for (const BenchmarkImage& image : images)
    {
        const std::string narrowPath = PluginHost::AnsiPath(image.path);
        const auto [ours, theirs] = TimeAlternating(
            [&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, narrowPath, 0); }); },
            [&] { bareThread.Run([&] { DecodeWithBareWic(bare, image.path, 0); }); });
        std::printf("  %-11ls %10.3f (%6.3f-%7.3f) %10.3f (%6.3f-%7.3f) %7.3f %7.3f ms\n", image.label.c_str(),
                    ours.median, ours.minimum, ours.maximum, theirs.median, theirs.minimum, theirs.maximum,
                    ours.median / theirs.median, ours.median - theirs.median);
    }
}

} // namespace Tesmo::Benchmarks
