#pragma once

#include "AlternatingRuns.h"

#include <string>

namespace Tesmo::Benchmarks
{

// A table of timed pairs, one row each: both medians with their spreads, the ratio of the
// first to the second and the difference, and, where a pair has one, the ratio it should
// stay under. The heading is printed when the table is made.
class ComparisonTable
{
public:
    // labelWidth 0: no label column. withGoals: a goal column after the difference.
    ComparisonTable(int labelWidth, const char* labelHeading, const char* firstHeading, const char* secondHeading,
                    bool withGoals);
    virtual ~ComparisonTable() = default;

    // goal 0: the pair has none.
    void PrintRow(const std::string& label, const Comparison& times, double goal = 0) const;

private:
    int labelWidth;
    bool withGoals;
};

} // namespace Tesmo::Benchmarks
