#include "support/ProcessFigures.h"

#include "support/OpenHandles.h"

#include <windows.h>
#include <psapi.h>

namespace Tesmo::Tests
{

ProcessFigures CurrentProcessFigures()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return {counters.PagefileUsage, CountOpenHandles()};
}

std::string Describe(const ProcessFigures& figures)
{
    return std::to_string(figures.privateBytes / 1024) + " KiB private, " + std::to_string(figures.handles) +
           " handles";
}

} // namespace Tesmo::Tests
