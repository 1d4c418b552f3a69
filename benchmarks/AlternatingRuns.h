#pragma once

#include "Statistics.h"

#include <functional>

namespace Tesmo::Benchmarks
{

inline constexpr int warmUpRuns = 2;
inline constexpr int countedRuns = 15;

// The plug-in's times and bare WIC's for the same work.
struct Comparison
{
    Summary plugin;
    Summary bare;
};

// Runs each contender warmUpRuns times, then times countedRuns runs of each, the two
// taking turns, in milliseconds.
Comparison TimeAlternating(const std::function<void()>& pluginRun, const std::function<void()>& bareRun);

} // namespace Tesmo::Benchmarks
