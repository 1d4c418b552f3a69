#include "ComparisonTable.h"

#include <cstdio>
#include <string>

namespace Tesmo::Benchmarks
{

ComparisonTable::ComparisonTable(int labelWidth, const char* labelHeading, const char* firstHeading,
                                 const char* secondHeading, bool withGoals)
    : labelWidth(labelWidth), withGoals(withGoals)
{
    std::printf("  ");
    if (labelWidth > 0)
    {
        std::printf("%-*s ", labelWidth, labelHeading);
    }
    std::printf("%26s %26s %7s %10s", firstHeading, secondHeading, "ratio", "overhead");
    std::printf(withGoals ? "  goal\n" : "\n");
}

void ComparisonTable::PrintRow(const std::string& label, const Comparison& times, double goal) const
{
    const Summary& first = times.plugin;
    const Summary& second = times.bare;
    const double ratio = first.median / second.median;
    std::printf("  ");
    if (labelWidth > 0)
    {
        std::printf("%-*s ", labelWidth, label.c_str());
    }
    std::printf("%10.3f (%6.3f-%7.3f) %10.3f (%6.3f-%7.3f) %7.3f %7.3f ms", first.median, first.minimum,
                first.maximum, second.median, second.minimum, second.maximum, ratio, first.median - second.median);
    if (withGoals && goal > 0)
    {
        // The goals are set for 64-bit builds on real hardware; a 32-bit build here runs
        // emulated, where only the ratio itself means anything.
        constexpr bool goalsApply = sizeof(void*) == 8;
        std::printf("  <= %.2f %s", goal, !goalsApply ? "(set for 64-bit)" : ratio <= goal ? "met" : "MISSED");
    }
    std::printf("\n");
}

} // namespace Tesmo::Benchmarks
