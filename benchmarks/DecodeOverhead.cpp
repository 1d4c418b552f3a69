#include "DecodeOverhead.h"

#include "Contenders.h"
#include "Statistics.h"
#include "Timing.h"
#include "hosting/AnsiPath.h"

#include <cstdio>
#include <string>

namespace Tesmo::Benchmarks
{

void MeasureDecodeOverhead(const PluginHost::PluginLibrary& plugin, const std::vector<BenchmarkImage>& images,
                           WorkerThread& pluginThread, WorkerThread& bareThread, const BareWicDecoder& bare,
                           const char* pluginThreadState)
{
    std::printf("\nDecode, frame 0: plug-in on a thread %s; bare WIC with one reused factory\n", pluginThreadState);
    std::printf("  %-11s %26s %26s %7s %10s\n", "image", "plug-in ms (min-max)", "bare ms (min-max)", "ratio",
                "overhead");
    for (const BenchmarkImage& image : images)
    {
        const std::string narrowPath = PluginHost::AnsiPath(image.path);
        const auto pluginRun = [&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, narrowPath); }); };
        const auto bareRun = [&] { bareThread.Run([&] { DecodeWithBareWic(bare, image.path); }); };
        for (int run = 0; run < warmUpRuns; ++run)
        {
            pluginRun();
            bareRun();
        }
        std::vector<double> pluginTimes, bareTimes;
        for (int run = 0; run < countedRuns; ++run)
        {
            // Alternate which contender goes first, so neither always meets a warm cache.
            if (run % 2 == 0)
            {
                pluginTimes.push_back(MillisecondsOf(pluginRun));
                bareTimes.push_back(MillisecondsOf(bareRun));
            }
            else
            {
                bareTimes.push_back(MillisecondsOf(bareRun));
                pluginTimes.push_back(MillisecondsOf(pluginRun));
            }
        }
        const Summary ours = Summarise(pluginTimes);
        const Summary theirs = Summarise(bareTimes);
        std::printf("  %-11ls %10.3f (%6.3f-%7.3f) %10.3f (%6.3f-%7.3f) %7.3f %7.3f ms\n", image.label.c_str(),
                    ours.median, ours.minimum, ours.maximum, theirs.median, theirs.minimum, theirs.maximum,
                    ours.median / theirs.median, ours.median - theirs.median);
    }
}

} // namespace Tesmo::Benchmarks
