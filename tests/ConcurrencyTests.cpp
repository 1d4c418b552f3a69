// The plug-in keeps no shared state: decodes on threads of every COM kind at once, while
// another thread lists extensions, give exactly what the same calls give one at a time.

#include "support/HostList.h"
#include "support/PluginCopy.h"
#include "support/SampleFiles.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace Tesmo::Tests;

namespace
{

struct Outcome
{
    int result = 0;
    unsigned int frameCount = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    std::string bytes;

    bool operator==(const Outcome&) const = default;
};

Outcome Decode(const Tesmo::PluginHost::PluginLibrary& plugin, const SampleRequest& request)
{
    Outcome outcome;
    void* pixels = nullptr;
    unsigned int byteCount = 0;
    outcome.result = plugin.getImageData(request.path.c_str(), request.frameIndex, &outcome.frameCount,
                                         &outcome.width, &outcome.height, &pixels, &byteCount);
    if (pixels != nullptr)
    {
        outcome.bytes.assign(static_cast<const char*>(pixels), byteCount);
        std::free(pixels);
    }
    return outcome;
}

std::string ListExtensions(const Tesmo::PluginHost::PluginLibrary& plugin)
{
    const HostList list(plugin.getSupportedExtensions());
    return list != nullptr ? list.get() : "<null>";
}

TEST(Concurrency, EveryThreadGetsTheSingleThreadedResults)
{
    constexpr int workerCount = 8;
    constexpr int rounds = 10;

    const ScratchFolder folder;
    const std::vector<SampleRequest> requests = WriteSampleFiles(folder, true);
    PluginCopy plugin;
    const auto& exports = plugin.Load();
    std::vector<Outcome> expected;
    for (const SampleRequest& request : requests)
    {
        expected.push_back(Decode(exports, request));
        ASSERT_EQ(expected.back().result == 0, request.succeeds) << request.path << " frame " << request.frameIndex;
    }
    const std::string expectedList = ListExtensions(exports);

    std::atomic<int> mismatches{0};
    std::atomic<int> decodes{0};
    std::mutex firstMismatchLock;
    std::string firstMismatch;
    const auto report = [&](const std::string& what) {
        if (mismatches++ == 0)
        {
            const std::lock_guard lock(firstMismatchLock);
            firstMismatch = what;
        }
    };

    std::vector<std::thread> workers;
    for (int worker = 0; worker < workerCount; ++worker)
    {
        workers.emplace_back([&, worker] {
            // Single-threaded apartment, multithreaded apartment, or no COM at all.
            const int kind = worker % 3;
            const HRESULT joined =
                kind == 2 ? E_FAIL
                          : CoInitializeEx(nullptr, kind == 0 ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED);
            for (int round = 0; round < rounds; ++round)
            {
                for (size_t i = 0; i < requests.size(); ++i)
                {
                    // Each worker starts elsewhere in the list, so different files and frames
                    // are decoded at the same moment.
                    const size_t index = (i + worker * 3) % requests.size();
                    if (!(Decode(exports, requests[index]) == expected[index]))
                    {
                        report("worker " + std::to_string(worker) + ": " + requests[index].path + " frame " +
                               std::to_string(requests[index].frameIndex));
                    }
                    ++decodes;
                }
            }
            if (SUCCEEDED(joined))
            {
                CoUninitialize();
            }
        });
    }
    // This thread lists extensions while the workers decode.
    const int totalDecodes = workerCount * rounds * static_cast<int>(requests.size());
    while (decodes < totalDecodes)
    {
        if (ListExtensions(exports) != expectedList)
        {
            report("the extension list changed");
        }
    }
    for (std::thread& worker : workers)
    {
        worker.join();
    }

    EXPECT_EQ(decodes, totalDecodes);
    EXPECT_EQ(mismatches, 0) << "first: " << firstMismatch;
}

} // namespace
