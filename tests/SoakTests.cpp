// Thousands of calls of every export in one process, succeeding and failing: whatever the
// plug-in takes for a call it must give back, so memory and handles stay level.

#include "support/PluginCopy.h"
#include "support/ProcessFigures.h"
#include "support/SampleFiles.h"
#include "support/SettingsText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

using namespace Tesmo::Tests;

namespace
{

// Twice the largest decoded buffer and more than any heap's slack: a leak of even a few
// bytes per call over thousands of calls goes past it.
constexpr unsigned long long privateBytesBound = 2 * 1024 * 1024;
constexpr long handleBound = 2;

TEST(Soak, MemoryAndHandlesStayLevel)
{
    const ScratchFolder folder;
    const std::vector<SampleRequest> requests = WriteSampleFiles(folder, true);
    PluginCopy plugin;
    plugin.WriteSettings(NameSetting(L"Soak") + ExtensionsSetting(L"gif=excluded\r\n"));
    const auto& exports = plugin.Load();

    unsigned long long calls = 0;
    const auto round = [&] {
        char name[32];
        for (const unsigned int size : {32u, 5u, 4u, 0u}) // the last two are too small and fail
        {
            exports.getDisplayName(name, size);
        }
        for (int list = 0; list < 3; ++list)
        {
            std::free(exports.getSupportedExtensions());
        }
        for (const SampleRequest& request : requests)
        {
            unsigned int frameCount = 0, width = 0, height = 0, byteCount = 0;
            void* pixels = nullptr;
            exports.getImageData(request.path.c_str(), request.frameIndex, &frameCount, &width, &height, &pixels,
                                 &byteCount);
            std::free(pixels);
        }
        calls += 4 + 3 + requests.size();
    };
    constexpr int rounds = 400;

    for (int warmUp = 0; warmUp < 20; ++warmUp)
    {
        round();
    }
    const ProcessFigures afterWarmUp = CurrentProcessFigures();
    for (int i = 0; i < rounds / 2; ++i)
    {
        round();
    }
    const ProcessFigures halfway = CurrentProcessFigures();
    for (int i = 0; i < rounds / 2; ++i)
    {
        round();
    }
    const ProcessFigures atTheEnd = CurrentProcessFigures();

    std::cout << calls << " calls; after warm-up " << Describe(afterWarmUp) << "; halfway " << Describe(halfway)
              << "; at the end " << Describe(atTheEnd) << std::endl;
    RecordProperty("calls", std::to_string(calls));
    RecordProperty("afterWarmUp", Describe(afterWarmUp));
    RecordProperty("atTheEnd", Describe(atTheEnd));
    EXPECT_LT(atTheEnd.privateBytes, afterWarmUp.privateBytes + privateBytesBound);
    EXPECT_LT(atTheEnd.privateBytes, halfway.privateBytes + privateBytesBound / 2) << "memory keeps growing";
    EXPECT_LE(atTheEnd.handles, afterWarmUp.handles + handleBound);
    EXPECT_LE(atTheEnd.handles, halfway.handles) << "handles keep growing";
}

} // namespace
