#include "AlternatingRuns.h"

#include "Timing.h"

#include <vector>

namespace Tesmo::Benchmarks
{

Comparison TimeAlternating(const std::function<void()>& pluginRun, const std::function<void()>& bareRun)
{
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
    return {Summarise(pluginTimes), Summarise(bareTimes)};
}

} // namespace Tesmo::Benchmarks
