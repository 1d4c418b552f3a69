#include "ThreadScaling.h"

#include "Contenders.h"
#include "Timing.h"
#include "hosting/AnsiPath.h"

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace Tesmo::Benchmarks
{

namespace
{

constexpr int decodesPerThread = 20;

} // namespace

void MeasureThreadScaling(const PluginHost::PluginLibrary& plugin, const BenchmarkImage& image)
{
    const std::string path = PluginHost::AnsiPath(image.path);
    const auto decodesPerSecond = [&](int threadCount) {
        DecodeWithPlugin(plugin, path, 0);
        const double milliseconds = MillisecondsOf([&] {
            std::vector<std::thread> threads;
            for (int thread = 0; thread < threadCount; ++thread)
            {
                threads.emplace_back([&] {
                    for (int decode = 0; decode < decodesPerThread; ++decode)
                    {
                        DecodeWithPlugin(plugin, path, 0);
                    }
                });
            }
            for (std::thread& thread : threads)
            {
                thread.join();
            }
        });
        return 1000.0 * threadCount * decodesPerThread / milliseconds;
    };
    const double one = decodesPerSecond(1);
    const double two = decodesPerSecond(2);
    std::printf("\nThreads: %ls, %d decodes per thread, threads without COM\n", image.label.c_str(),
                decodesPerThread);
    std::printf("  1 thread: %.1f decodes/s; 2 threads: %.1f decodes/s; scaling %.2fx (%u cores)\n", one, two,
                two / one, std::thread::hardware_concurrency());
}

} // namespace Tesmo::Benchmarks
