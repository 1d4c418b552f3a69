#pragma once

#include <algorithm>
#include <vector>

namespace Tesmo::Benchmarks
{

struct Summary
{
    double median = 0;
    double minimum = 0;
    double maximum = 0;
};

inline Summary Summarise(std::vector<double> samples)
{
    if (samples.empty())
    {
        return {};
    }
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    const double median =
        samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2.0;
    return {median, samples.front(), samples.back()};
}

} // namespace Tesmo::Benchmarks
