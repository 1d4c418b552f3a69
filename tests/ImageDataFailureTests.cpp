// GetImageData's failure paths: the one debugger message of the failing step, the step
// as the host tool words it, which outputs were written by the steps before it,
// overflow-safe sizes and ANSI code page paths. Null pointers are refused silently.

#include "hosting/DebugMessageCapture.h"
#include "corruption/FormatFields.h"
#include "hosting/FailureReport.h"
#include "hosting/ImageDataCall.h"
#include "hosting/TiffEncoder.h"
#include "support/Animations.h"
#include "support/CaseNames.h"
#include "support/FailureMessages.h"
#include "support/HandleOwner.h"
#include "support/PixelsMatch.h"
#include "support/PluginCopy.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <wincodec.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Tesmo::Tests;
using Tesmo::PluginHost::AnsiPath, Tesmo::PluginHost::DebugMessageCapture, Tesmo::PluginHost::EncodeGif;
using Tesmo::PluginHost::EncodeWithWic;
using Tesmo::PluginHost::FailingStep, Tesmo::PluginHost::GifImage, Tesmo::PluginHost::ImageDataCall;

namespace
{

constexpr unsigned int unwritten = ImageDataCall::unwritten;

// The failing steps as the host tool words them for a user.
constexpr const char* opening = "opening the file: finding a WIC decoder for its contents";
constexpr const char* fetching = "fetching the frame";
constexpr const char* sizing = "reading the frame size";
constexpr const char* copying = "copying the pixels as 24-bit RGB";

enum class Buffer
{
    NotWritten, // the copy step was never reached
    Null,       // copy step failed before allocating: *pixels null, *byteCount 0
    HandedOver, // copy step failed after allocating: the buffer belongs to the host
};

struct FailureCase : NamedCase
{
    std::wstring (*make)(const ScratchFolder& folder);
    unsigned int frameIndex;
    const wchar_t* message;
    const char* step;
    unsigned int frameCount; // unwritten when the step that writes it was not reached
    unsigned int width;
    unsigned int height;
    Buffer buffer;
};

// Images on a 2 x 1 screen, with the standard global colour table or none.
std::wstring TwoPixelGif(const ScratchFolder& folder, std::vector<GifImage> images, bool globalTable = false)
{
    Tesmo::PluginHost::GifToEncode gif = Animation(2, 1, std::move(images));
    if (!globalTable)
    {
        gif.globalColours.clear();
    }
    return folder.Write(L"picture.gif", EncodeGif(gif));
}

GifImage Coloured(GifImage image)
{
    image.localColours = standardLocalColours;
    return image;
}

// An image block at (left, 0) one row high and no pixel wide.
GifImage ZeroWidth(unsigned int left)
{
    return {left, 0, 0, 1, {}, Tesmo::PluginHost::GifControl{}, {}, false};
}

// A 3 x 2 page tagged to be turned clockwise, whose pixels are said to lie at the end of
// the file, where there are none.
std::string TurnedTiffWithPixelsPastTheEnd()
{
    std::string file = Tesmo::PluginHost::EncodeTiff({{3, 2, PatternPicture(3, 2, 24).Rgb(), {{6}}}});
    Corruption::Fields fields;
    Corruption::TiffFields(fields, file);
    const auto offset = std::find_if(fields.begin(), fields.end(), [](const Corruption::Field& field) {
        return field.name == "page 0 tag 273 value"; // StripOffsets
    });
    Corruption::Write(file, offset->offset, offset->size, false, static_cast<std::uint32_t>(file.size()));
    return file;
}

const FailureCase failureCases[] = {
    {"UnknownFormat",
     [](const ScratchFolder& folder) { return folder.Write(L"text.png", "This is not an image.\r\n"); }, 0,
     openFailed, opening, unwritten, unwritten, unwritten, Buffer::NotWritten},
    {"MissingFile", [](const ScratchFolder& folder) { return folder / L"missing.bmp"; }, 0, openFailed, opening,
     unwritten, unwritten, unwritten, Buffer::NotWritten},
    {"EmptyPath", [](const ScratchFolder&) { return std::wstring(); }, 0, openFailed, opening, unwritten, unwritten,
     unwritten, Buffer::NotWritten},
    {"EmptyFile", [](const ScratchFolder& folder) { return folder.Write(L"empty.bmp", ""); }, 0, openFailed,
     opening, unwritten, unwritten, unwritten, Buffer::NotWritten},
    {"Directory",
     [](const ScratchFolder& folder) {
         const std::wstring path = folder / L"folder.bmp";
         CreateDirectoryW(path.c_str(), nullptr);
         return path;
     },
     0, openFailed, opening, unwritten, unwritten, unwritten, Buffer::NotWritten},
    {"TruncatedPng",
     [](const ScratchFolder& folder) {
         const std::string file = EncodeWithWic(GUID_ContainerFormatPng, {AsBgr24(PatternPicture(8, 8, 20))});
         return folder.Write(L"truncated.png", file.substr(0, file.size() / 2));
     },
     0, openFailed, opening, unwritten, unwritten, unwritten, Buffer::NotWritten},
    {"FrameIndexEqualsFrameCount",
     [](const ScratchFolder& folder) { return folder.Write(L"one.bmp", Bmp24(PatternPicture(2, 2, 21))); }, 1,
     frameFailed, fetching, 1, unwritten, unwritten, Buffer::NotWritten},
    {"FrameIndexLargest",
     [](const ScratchFolder& folder) { return folder.Write(L"one.bmp", Bmp24(PatternPicture(2, 2, 22))); },
     0xFFFFFFFFu, frameFailed, fetching, 1, unwritten, unwritten, Buffer::NotWritten},
    // The header is whole, the pixel rows are cut short: the copy fails after the buffer
    // was allocated, and the host still receives (and frees) it.
    {"TruncatedBmpPixels",
     [](const ScratchFolder& folder) {
         const std::string file = Bmp24(PatternPicture(8, 8, 23));
         return folder.Write(L"truncated.bmp", file.substr(0, 54 + 20));
     },
     0, copyFailed, copying, 1, 8, 8, Buffer::HandedOver},
    // The same for a photo turned on its way out: the host gets the upright size.
    {"TurnedTiffPixelsPastTheEnd",
     [](const ScratchFolder& folder) { return folder.Write(L"turned.tif", TurnedTiffWithPixelsPastTheEnd()); }, 0,
     copyFailed, copying, 1, 2, 3, Buffer::HandedOver},
    // 40000 x 40000 x 3 bytes do not fit in 32 bits (a 32-bit product would wrap to
    // 505,032,704).
    {"OverflowingSize40000Square",
     [](const ScratchFolder& folder) { return folder.Write(L"huge.bmp", Bmp24HeaderOnly(40000, 40000)); }, 0,
     copyFailed, copying, 1, 40000, 40000, Buffer::Null},
    // 65536 x 21846 x 3 wraps to only 131,072 bytes in 32 bits: a small buffer that the
    // copy would have overrun.
    {"OverflowingSizeWrapsSmall",
     [](const ScratchFolder& folder) { return folder.Write(L"wraps.bmp", Bmp24HeaderOnly(65536, 21846)); }, 0,
     copyFailed, copying, 1, 65536, 21846, Buffer::Null},
    // An animation frame is the whole logical screen: 65535 x 65535 x 3 bytes do not fit
    // in 32 bits, however small the image on it.
    {"OverflowingGifScreen",
     [](const ScratchFolder& folder) {
         return folder.Write(L"screen.gif", EncodeGif(Animation(65535, 65535, {Patch(0, 0, 1, "1")})));
     },
     0, copyFailed, copying, 1, 65535, 65535, Buffer::Null},
    // A GIF frame with neither a local nor a global colour table has no colours: WIC would
    // read through a null palette. Still, composed, or drawn under a later frame.
    {"GifWithoutColourTables", [](const ScratchFolder& f) { return TwoPixelGif(f, {Patch(0, 0, 2, "01")}); },
     0, copyFailed, copying, 1, 2, 1, Buffer::Null},
    {"GifWithoutColourTablesComposed",
     [](const ScratchFolder& f) { return TwoPixelGif(f, {Patch(0, 0, 1, "0"), Patch(1, 0, 1, "1")}); }, 0,
     copyFailed, copying, 2, 2, 1, Buffer::Null},
    {"GifLaterFrameWithoutColourTables",
     [](const ScratchFolder& f) { return TwoPixelGif(f, {Coloured(Patch(0, 0, 2, "01")), Patch(1, 0, 1, "1")}); },
     1, copyFailed, copying, 2, 2, 1, Buffer::Null},
    {"GifEarlierFrameWithoutColourTablesDrawn",
     [](const ScratchFolder& f) { return TwoPixelGif(f, {Patch(0, 0, 2, "01"), Coloured(Patch(1, 0, 1, "1"))}); },
     1, copyFailed, copying, 2, 2, 1, Buffer::Null},
    // A frame without area has no picture, still or composed.
    {"GifFrameOfZeroWidth", [](const ScratchFolder& f) { return TwoPixelGif(f, {ZeroWidth(0)}, true); }, 0,
     sizeFailed, sizing, 1, unwritten, unwritten, Buffer::NotWritten},
    {"GifLaterFrameOfZeroWidth",
     [](const ScratchFolder& f) { return TwoPixelGif(f, {Patch(0, 0, 2, "01"), ZeroWidth(1)}, true); }, 1,
     sizeFailed, sizing, 2, unwritten, unwritten, Buffer::NotWritten},
    // A row alone of 0x60000000 x 3 bytes does not fit in 32 bits.
    {"OverflowingStride",
     [](const ScratchFolder& folder) { return folder.Write(L"wide.bmp", Bmp24HeaderOnly(0x60000000, 1)); }, 0,
     copyFailed, copying, 1, 0x60000000, 1, Buffer::Null},
};

class ImageDataFailureTest : public testing::TestWithParam<FailureCase>
{
};

TEST_P(ImageDataFailureTest, FailsAtItsStepWithItsMessage)
{
    const FailureCase& testCase = GetParam();
    const ScratchFolder folder;
    const std::wstring path = testCase.make(folder);
    PluginCopy plugin;

    const ImageDataCall call(plugin.Load(), AnsiPath(path), testCase.frameIndex);

    EXPECT_EQ(call.result, -1);
    EXPECT_EQ(call.messages, std::vector<std::wstring>{testCase.message});
    EXPECT_EQ(FailingStep(call.messages), testCase.step);
    EXPECT_EQ(call.frameCount, testCase.frameCount);
    EXPECT_EQ(call.width, testCase.width);
    EXPECT_EQ(call.height, testCase.height);
    switch (testCase.buffer)
    {
    case Buffer::NotWritten:
        EXPECT_EQ(call.pixels, ImageDataCall::UnwrittenPointer());
        EXPECT_EQ(call.byteCount, unwritten);
        break;
    case Buffer::Null:
        EXPECT_EQ(call.pixels, nullptr);
        EXPECT_EQ(call.byteCount, 0u);
        break;
    case Buffer::HandedOver:
        EXPECT_NE(call.pixels, nullptr);
        EXPECT_NE(call.pixels, ImageDataCall::UnwrittenPointer());
        EXPECT_EQ(call.byteCount, testCase.width * testCase.height * 3);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageDataFailureTest, testing::ValuesIn(failureCases), CaseName());

// The host's narrow path is in the ANSI code page. Byte-by-byte sign-extending
// widening would have turned the byte for U+00E9 into U+FFE9 and failed to open. The name
// takes the first of these characters the system's ANSI code page holds (U+00E9 in 1252).
TEST(ImageDataPath, NonAsciiNameInTheAnsiCodePageOpens)
{
    const ScratchFolder folder;
    std::wstring path;
    for (const wchar_t* name : {L"caf\u00e9.bmp", L"\u0436\u0443\u043a.bmp", L"\u65e5\u672c.bmp"})
    {
        BOOL lossy = FALSE;
        WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, &lossy);
        if (!lossy)
        {
            path = folder / name;
            break;
        }
    }
    if (path.empty())
    {
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " holds none of the names";
    }
    const std::string ansiPath = AnsiPath(path);
    ASSERT_TRUE(std::any_of(ansiPath.begin(), ansiPath.end(), [](char c) { return (c & 0x80) != 0; }));
    const Picture picture = PatternPicture(3, 2, 30);
    if (const HandleOwner probe(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        probe.get() == INVALID_HANDLE_VALUE)
    {
        // Wine stores names in the Unix locale's character set; plain "C" has no U+00E9.
        GTEST_SKIP() << "the file system cannot hold the name here (Wine under LANG=C?)";
    }
    WriteFileBytes(path, Bmp24(picture));
    PluginCopy plugin;

    const ImageDataCall call(plugin.Load(), ansiPath, 0);

    ASSERT_EQ(call.result, 0) << "ANSI code page " << GetACP();
    EXPECT_TRUE(call.messages.empty());
    EXPECT_TRUE(PixelsMatch(call.Bytes(), picture));
}

// A null path or output pointer is refused before anything is written or sent.
TEST(ImageDataNullPointers, EachIsRefusedSilently)
{
    const ScratchFolder folder;
    const std::wstring path = folder / L"valid.bmp";
    WriteFileBytes(path, Bmp24(PatternPicture(2, 2, 31)));
    const std::string ansiPath = AnsiPath(path);
    PluginCopy plugin;
    const auto getImageData = plugin.Load().getImageData;

    for (int nullArgument = 0; nullArgument < 6; ++nullArgument)
    {
        unsigned int frameCount = unwritten;
        unsigned int width = unwritten;
        unsigned int height = unwritten;
        void* pixels = ImageDataCall::UnwrittenPointer();
        unsigned int byteCount = unwritten;
        const DebugMessageCapture capture;

        const int result = getImageData(nullArgument == 0 ? nullptr : ansiPath.c_str(), 0,
                                        nullArgument == 1 ? nullptr : &frameCount, nullArgument == 2 ? nullptr : &width,
                                        nullArgument == 3 ? nullptr : &height, nullArgument == 4 ? nullptr : &pixels,
                                        nullArgument == 5 ? nullptr : &byteCount);

        EXPECT_EQ(result, -1) << "null argument " << nullArgument;
        EXPECT_TRUE(capture.Messages().empty()) << "null argument " << nullArgument;
        EXPECT_EQ(frameCount, unwritten) << "null argument " << nullArgument;
        EXPECT_EQ(width, unwritten) << "null argument " << nullArgument;
        EXPECT_EQ(height, unwritten) << "null argument " << nullArgument;
        EXPECT_EQ(pixels, ImageDataCall::UnwrittenPointer()) << "null argument " << nullArgument;
        EXPECT_EQ(byteCount, unwritten) << "null argument " << nullArgument;
    }
}

} // namespace
