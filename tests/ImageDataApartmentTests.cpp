// GetImageData initialises COM for the call only: a thread's own apartment, whatever it
// is, is the same after the call as before.

#include "host/ImageDataCall.h"
#include "support/CaseNames.h"
#include "support/PixelsMatch.h"
#include "support/PluginCopy.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <wincodec.h>

#include <optional>
#include <thread>

using namespace Tesmo::Tests;
using Tesmo::PluginHost::AnsiPath, Tesmo::PluginHost::EncodeWithWic, Tesmo::PluginHost::ImageDataCall;

namespace
{

struct ApartmentCase : NamedCase
{
    std::optional<DWORD> threadModel; // the thread's own CoInitializeEx, if any
    HRESULT afterwardsSta;            // CoInitializeEx(COINIT_APARTMENTTHREADED) after the call
};

class ImageDataApartmentTest : public testing::TestWithParam<ApartmentCase>
{
};

TEST_P(ImageDataApartmentTest, DecodesAndLeavesTheThreadsComAsItWas)
{
    const ApartmentCase& testCase = GetParam();
    const ScratchFolder folder;
    const std::wstring path = folder / L"image.gif";
    const IndexedPicture picture = PatternIndexed(3, 2, 4, 40);
    WriteFileBytes(path, EncodeWithWic(GUID_ContainerFormatGif, {AsIndexed8(picture)}));
    PluginCopy plugin;
    const auto& library = plugin.Load();

    int result = 1;
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
    EXPECT_TRUE(PixelsMatch(pixels, picture.Colours())); // a GIF: the two-stage path under Wine
    EXPECT_EQ(afterwards, testCase.afterwardsSta);
}

INSTANTIATE_TEST_SUITE_P(
    Threads, ImageDataApartmentTest,
    testing::Values(ApartmentCase{"NoComYet", std::nullopt, S_OK},
                    ApartmentCase{"MultithreadedApartment", DWORD{COINIT_MULTITHREADED}, RPC_E_CHANGED_MODE},
                    ApartmentCase{"SingleThreadedApartment", DWORD{COINIT_APARTMENTTHREADED}, S_FALSE}),
    CaseName());

} // namespace
