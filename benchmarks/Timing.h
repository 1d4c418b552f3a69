#pragma once

#include <chrono>
#include <functional>

namespace Tesmo::Benchmarks
{

// The wall-clock time work takes, in milliseconds.
inline double MillisecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace Tesmo::Benchmarks
