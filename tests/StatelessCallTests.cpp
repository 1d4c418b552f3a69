// The plug-in keeps nothing between calls. GetImageData and GetSupportedExtensions
// initialise COM for the call only: a thread's own apartment, whatever it is, is the same
// after the call as before. Decodes and lists on threads of every COM kind at once give
// exactly what the same calls give one at a time. Thousands of calls of every export in
// one process, succeeding and failing, leave memory and handles level: whatever the
// plug-in takes for a call it gives back.

#include "hosting/ImageDataCall.h"
#include "support/CaseNames.h"
#include "support/HostList.h"
#include "support/PixelsMatch.h"
#include "support/PluginCopy.h"
#include "support/ProcessFigures.h"
#include "support/SampleFiles.h"
#include "support/SettingsText.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <wincodec.h>

#include <atomic>
#include <cstring>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <thread>
#include <vector>

using namespace Tesmo::Tests;
using Tesmo::PluginHost::AnsiPath, Tesmo::PluginHost::EncodeWithWic, Tesmo::PluginHost::ImageDataCall;

namespace
{

struct ApartmentCase : NamedCase
{
    std::optional<DWORD> threadModel; // the thread's own CoInitializeEx, if any
    HRESULT afterwardsSta;            // CoInitializeEx(COINIT_APARTMENTTHREADED) after the call
};

using ImageDataApartmentTest = testing::TestWithParam<ApartmentCase>;

TEST_P(ImageDataApartmentTest, DecodesListsAndLeavesTheThreadsComAsItWas)
{
    const ApartmentCase& testCase = GetParam();
    const ScratchFolder folder;
    const std::wstring path = folder / L"image.gif";
    const IndexedPicture picture = PatternIndexed(3, 2, 4, 40);
    WriteFileBytes(path, EncodeWithWic(GUID_ContainerFormatGif, {AsIndexed8(picture)}));
    PluginCopy plugin;
    const auto& library = plugin.Load();

    int result = 1;
    bool listed = false;
    std::string pixels;
    HRESULT ownInitialisation = S_OK;
    HRESULT afterwards = S_OK;
    std::thread caller([&] {
        if (testCase.threadModel)
        {
            ownInitialisation = CoInitializeEx(nullptr, *testCase.threadModel);
        }
        {
            const ImageDataCall call(library, AnsiPath(path), 0);
            result = call.result;
            pixels = call.Bytes();
            const HostList list(library.getSupportedExtensions()); // asks WIC's enumerator too
            listed = list != nullptr && std::strlen(list.get()) > 0;
        }
        // S_OK: the thread had no COM left (the call balanced its own initialisation);
        // S_FALSE: still in its single-threaded apartment; RPC_E_CHANGED_MODE: still in
        // the multithreaded apartment.
        afterwards = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(afterwards))
        {
            CoUninitialize();
        }
        if (testCase.threadModel && SUCCEEDED(ownInitialisation))
        {
            CoUninitialize();
        }
    });
    caller.join();

    ASSERT_EQ(ownInitialisation, S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(listed);
    EXPECT_TRUE(PixelsMatch(pixels, picture.Colours())); // a GIF: the two-stage path under Wine
    EXPECT_EQ(afterwards, testCase.afterwardsSta);
}

INSTANTIATE_TEST_SUITE_P(
    Threads, ImageDataApartmentTest,
    testing::Values(ApartmentCase{"NoComYet", std::nullopt, S_OK},
                    ApartmentCase{"MultithreadedApartment", DWORD{COINIT_MULTITHREADED}, RPC_E_CHANGED_MODE},
                    ApartmentCase{"SingleThreadedApartment", DWORD{COINIT_APARTMENTTHREADED}, S_FALSE}),
    CaseName());

struct Outcome
{
    int result = 0;
    unsigned int frameCount = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    std::string bytes;

    bool operator==(const Outcome&) const = default;
};

// Concurrent callers would mix their messages in one capture; the outcome is what counts.
Outcome Decode(const Tesmo::PluginHost::PluginLibrary& plugin, const SampleRequest& request)
{
    const ImageDataCall call(plugin, request.path, request.frameIndex, ImageDataCall::DebugMessages::Ignored);
    return {call.result, call.frameCount, call.width, call.height, call.Bytes()};
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
    const std::vector<SampleRequest> requests = WriteSampleFiles(folder);
    PluginCopy plugin;
    const auto& exports = plugin.Load();
    std::vector<Outcome> expected;
    for (const SampleRequest& request : requests)
    {
        expected.push_back(Decode(exports, request));
        ASSERT_EQ(expected.back().result == 0, request.succeeds) << request.path << " frame " << request.frameIndex;
    }
    const std::string expectedList = ListExtensions(exports);

    std::atomic<int> decodes{0};
    std::mutex mismatchesLock;
    std::vector<std::string> mismatches;
    const auto report = [&](const std::string& what) {
        const std::lock_guard lock(mismatchesLock);
        mismatches.push_back(what);
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
                // The catalogue joins COM and asks WIC too, from every kind of thread.
                if (ListExtensions(exports) != expectedList)
                {
                    report("worker " + std::to_string(worker) + ": the extension list changed");
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
    EXPECT_EQ(mismatches.size(), 0u) << "first: " << (mismatches.empty() ? "" : mismatches.front());
}

// Over the counted rounds the process's private bytes move by a few KiB at most (0 to
// 16 KiB on either build, heap growth included): an eighth of a MiB leaves room for that
// eight times over, and is passed by a leak of 140 bytes a decode, 900 a list or 700 a
// name over those rounds.
constexpr unsigned long long privateBytesBound = 128 * 1024;
constexpr long handleBound = 2;

TEST(Soak, MemoryAndHandlesStayLevel)
{
    const ScratchFolder folder;
    const std::vector<SampleRequest> requests = WriteSampleFiles(folder);
    PluginCopy plugin;
    plugin.WriteSettings(NameSetting(L"Soak") + ExtensionsSetting(L"gif=excluded\r\n"));
    const auto& exports = plugin.Load();
    // Wine's colour engine leaves a handle behind each time it is loaded and unloaded, as
    // the plug-in does for every frame it needs it for; held here, as a host that uses it
    // holds it, it stays loaded and only the plug-in's own handles are counted.
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> colourEngine(
        LoadLibraryW(L"mscms.dll"), &FreeLibrary);

    unsigned long long calls = 0;
    // Rounds of calls of every export, then the process's figures.
    const auto afterRounds = [&](int rounds) {
        for (int round = 0; round < rounds; ++round)
        {
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
                if (request.soaked)
                {
                    Decode(exports, request);
                    ++calls;
                }
            }
            calls += 4 + 3;
        }
        return CurrentProcessFigures();
    };
    constexpr int rounds = 50;
    const ProcessFigures afterWarmUp = afterRounds(10);
    const ProcessFigures halfway = afterRounds(rounds / 2);
    const ProcessFigures atTheEnd = afterRounds(rounds / 2);

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
