// GetImageData on real image files whose pixels the tests choose: written byte by byte
// (BMP, ICO, TGA, DDS), encoded at test time with WIC's encoders (PNG, GIF, TIFF, JPEG, and the PNG
// inside an icon), or a committed fixture made once by an independent encoder
// (ImageMagick: the interlaced PNG). Wine's format converter has no direct path to 24bpp RGB from indexed, grey and
// 16-bit-per-channel formats, so under Wine the frames marked viaBgra below decode through
// the two-stage fallback (frame -> 32bpp BGRA -> 24bpp RGB): the 8-bit palette BMP, the
// palette, grey and 16-bit PNGs, every GIF frame and the grey TIFF page. All other frames
// take the direct path. The converter tests below check this against the platform's own
// converter.

#include "hosting/ComApartment.h"
#include "hosting/ImageDataCall.h"
#include "support/CaseNames.h"
#include "support/FailureMessages.h"
#include "support/PixelsMatch.h"
#include "support/PluginCopy.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <wincodec.h>
#include <wrl/client.h>

#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

struct ExpectedFrame
{
    Picture picture;
    bool viaBgra = false; // decoded through the two-stage fallback under Wine
};

struct ImageFile
{
    std::wstring path;
    std::vector<ExpectedFrame> frames;
    int tolerance = 0; // largest difference allowed per byte; 0 for lossless formats
};

struct DecodeCase : NamedCase
{
    ImageFile (*make)(const ScratchFolder& folder);
};

constexpr bool direct = false;
constexpr bool viaBgra = true;

// A file of one frame, made by the encoder from the picture it decodes to.
ImageFile OneFrame(const ScratchFolder& folder, const wchar_t* name, const Picture& picture,
                   std::string (*encode)(const Picture&), bool path = direct)
{
    return ImageFile{folder.Write(name, encode(picture)), {{picture, path}}};
}

// WIC's PNG encoder, given the picture in the pixel format the frame maker makes.
template <FrameToEncode (*frame)(const Picture&)>
std::string Png(const Picture& picture)
{
    return EncodeWithWic(GUID_ContainerFormatPng, {frame(picture)});
}

// Every case a tiny image: the 32-bit suite decodes under an emulator.
const DecodeCase decodeCases[] = {
    {"Bmp24Bit",
     [](const ScratchFolder& folder) { return OneFrame(folder, L"24.bmp", PatternPicture(5, 3, 1), Bmp24); }},
    // BI_RGB: the fourth byte holds no alpha, whatever is stored there.
    {"Bmp32BitUnusedByteDropped",
     [](const ScratchFolder& folder) {
         return ImageFile{folder.Write(L"32.bmp", Bmp32(PatternPicture(4, 3, 2, true))), {{PatternPicture(4, 3, 2)}}};
     }},
    {"Bmp8BitPalette",
     [](const ScratchFolder& folder) {
         const IndexedPicture picture = PatternIndexed(5, 3, 6, 3);
         return ImageFile{folder.Write(L"8.bmp", Bmp8(picture)), {{picture.Colours(), viaBgra}}};
     }},
    {"PngRgb",
     [](const ScratchFolder& folder) { return OneFrame(folder, L"rgb.png", PatternPicture(5, 4, 4), Png<AsBgr24>); }},
    {"PngRgbaOverWhite",
     [](const ScratchFolder& folder) {
         return OneFrame(folder, L"rgba.png", PatternPicture(4, 4, 5, true), Png<AsBgra32>);
     }},
    {"PngPalette",
     [](const ScratchFolder& folder) {
         const IndexedPicture picture = PatternIndexed(5, 3, 7, 6);
         const std::string file = EncodeWithWic(GUID_ContainerFormatPng, {AsIndexed8(picture)});
         return ImageFile{folder.Write(L"palette.png", file), {{picture.Colours(), viaBgra}}};
     }},
    {"PngGrey",
     [](const ScratchFolder& folder) {
         return OneFrame(folder, L"grey.png", GreyPicture(6, 3, 7), Png<AsGray8>, viaBgra);
     }},
    {"Png16BitPerChannel",
     [](const ScratchFolder& folder) {
         return OneFrame(folder, L"rgb48.png", PatternPicture(3, 3, 8), Png<AsRgb48>, viaBgra);
     }},
    {"PngInterlacedFixture",
     [](const ScratchFolder&) {
         // Made once with ImageMagick from a text PPM of this formula: 10 x 7, Adam7,
         // 8-bit truecolour (see tests/fixtures/README.md).
         const Picture picture = PictureOf(10, 7, [](unsigned int x, unsigned int y) {
             return Rgba{static_cast<unsigned char>(x * 25), static_cast<unsigned char>(y * 40),
                         static_cast<unsigned char>((x * y * 9 + 30) & 0xFF), 255};
         });
         return ImageFile{FolderOfThisProgram() + L"\\fixtures\\interlaced-rgb.png", {{picture, direct}}};
     }},
    {"GifThreeFrames",
     [](const ScratchFolder& folder) {
         const IndexedPicture first = PatternIndexed(4, 3, 5, 9);
         const IndexedPicture second = PatternIndexed(4, 3, 3, 10);
         const IndexedPicture third = PatternIndexed(4, 3, 8, 11);
         const std::string file =
             EncodeWithWic(GUID_ContainerFormatGif, {AsIndexed8(first), AsIndexed8(second), AsIndexed8(third)});
         return ImageFile{folder.Write(L"frames.gif", file),
                          {{first.Colours(), viaBgra}, {second.Colours(), viaBgra}, {third.Colours(), viaBgra}}};
     }},
    {"TiffPagesOfOwnSizeAndFormat",
     [](const ScratchFolder& folder) {
         const Picture rgb = PatternPicture(3, 2, 12);
         const Picture grey = GreyPicture(2, 3, 13);
         const Picture rgba = PatternPicture(2, 2, 14, true);
         const std::string file =
             EncodeWithWic(GUID_ContainerFormatTiff, {AsBgr24(rgb), AsGray8(grey), AsBgra32(rgba)});
         return ImageFile{folder.Write(L"pages.tif", file), {{rgb, direct}, {grey, viaBgra}, {rgba, direct}}};
     }},
    {"JpegWithinTolerance",
     [](const ScratchFolder& folder) {
         const Picture picture = GradientPicture(16, 16);
         const std::string file = EncodeWithWic(GUID_ContainerFormatJpeg, {AsBgr24(picture)});
         return ImageFile{folder.Write(L"photo.jpg", file), {{picture, direct}}, 12};
     }},
    {"IcoSeveralImages",
     [](const ScratchFolder& folder) {
         const Picture withAlpha = PatternPicture(3, 2, 15, true);
         const Picture opaque = PatternPicture(2, 2, 16);
         const Picture png = PatternPicture(4, 3, 17, true);
         const std::string file = Ico({{3, 2, 32, IconDib(withAlpha, 32)},
                                       {2, 2, 24, IconDib(opaque, 24)},
                                       {4, 3, 32, EncodeWithWic(GUID_ContainerFormatPng, {AsBgra32(png)})}});
         return ImageFile{folder.Write(L"icons.ico", file), {{withAlpha, direct}, {opaque, direct}, {png, direct}}};
     }},
    // Formats whose decoders Wine registers without a friendly name in the decoder category.
    {"Tga24Bit",
     [](const ScratchFolder& folder) { return OneFrame(folder, L"24.tga", PatternPicture(5, 3, 18), Tga24); }},
    {"Dds32Bit",
     [](const ScratchFolder& folder) { return OneFrame(folder, L"32.dds", PatternPicture(4, 4, 19), Dds32); }},
};

using ImageDataDecodeTest = testing::TestWithParam<DecodeCase>;

TEST_P(ImageDataDecodeTest, EveryFrameComesBackAsPackedRgb)
{
    const ScratchFolder folder;
    const ImageFile image = GetParam().make(folder);
    PluginCopy plugin;
    const auto frameCount = static_cast<unsigned int>(image.frames.size());

    for (unsigned int index = 0; index < frameCount; ++index)
    {
        // Frames with alpha come over the default background.
        const Picture expected = image.frames[index].picture.Over(white);
        const ImageDataCall call(plugin.Load(), AnsiPath(image.path), index);
        ASSERT_EQ(call.result, 0) << "frame " << index;
        EXPECT_TRUE(call.messages.empty()) << "frame " << index;
        EXPECT_EQ(call.frameCount, frameCount);
        EXPECT_EQ(call.width, expected.width) << "frame " << index;
        EXPECT_EQ(call.height, expected.height) << "frame " << index;
        ASSERT_EQ(call.byteCount, expected.width * expected.height * 3) << "frame " << index;
        ASSERT_NE(call.pixels, nullptr);
        EXPECT_TRUE(PixelsMatch(call.Bytes(), expected, image.tolerance)) << "frame " << index;
    }

    // WIC's own range check decides; the count is written before the frame step fails.
    const ImageDataCall pastTheEnd(plugin.Load(), AnsiPath(image.path), frameCount);
    EXPECT_EQ(pastTheEnd.result, -1);
    EXPECT_EQ(pastTheEnd.messages, std::vector<std::wstring>{frameFailed});
    EXPECT_EQ(pastTheEnd.frameCount, frameCount);
    EXPECT_EQ(pastTheEnd.width, ImageDataCall::unwritten);
    EXPECT_EQ(pastTheEnd.height, ImageDataCall::unwritten);
    EXPECT_EQ(pastTheEnd.pixels, ImageDataCall::UnwrittenPointer());
    EXPECT_EQ(pastTheEnd.byteCount, ImageDataCall::unwritten);
}

// Asks the platform's converter for 24bpp RGB straight from each frame of the case's image
// and expects `answer` for the frames that `checked` picks.
void ExpectStraightConversion(const DecodeCase& decodeCase, bool (*checked)(const ExpectedFrame& frame), HRESULT answer)
{
    const ScratchFolder folder;
    const ImageFile image = decodeCase.make(folder);
    const Tesmo::PluginHost::ComApartment com(COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(com.Result()));
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)), S_OK);
    ASSERT_EQ(factory->CreateDecoderFromFilename(image.path.c_str(), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, &decoder),
              S_OK);
    for (unsigned int index = 0; index < image.frames.size(); ++index)
    {
        const Picture& expected = image.frames[index].picture;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICFormatConverter> converter;
        ASSERT_EQ(decoder->GetFrame(index, &frame), S_OK);
        ASSERT_EQ(factory->CreateFormatConverter(&converter), S_OK);
        ASSERT_EQ(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppRGB, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom),
                  S_OK);
        std::vector<BYTE> buffer(expected.width * expected.height * 3);
        const HRESULT copied =
            converter->CopyPixels(nullptr, expected.width * 3, static_cast<UINT>(buffer.size()), buffer.data());
        if (checked(image.frames[index]))
        {
            EXPECT_EQ(copied, answer) << "frame " << index;
        }
    }
}

// The frames marked direct convert straight everywhere, so the decoding test above takes
// the direct path too; on Windows, whose converter has every path, so do the others.
TEST_P(ImageDataDecodeTest, ConverterTakesTheDirectPathWhereTheTableSays)
{
    ASSERT_NO_FATAL_FAILURE(ExpectStraightConversion(
        GetParam(), [](const ExpectedFrame& frame) { return !frame.viaBgra || !RunningUnderWine(); }, S_OK));
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageDataDecodeTest, testing::ValuesIn(decodeCases), CaseName());

// Wine's converter lacks the paths of the frames marked viaBgra, so under Wine the
// decoding test above went through the fallback for them.
TEST(ImageDataConverter, LacksTheViaBgraPathsUnderWine)
{
    if (!RunningUnderWine())
    {
        GTEST_SKIP() << "Wine's converter only";
    }
    for (const DecodeCase& decodeCase : decodeCases)
    {
        SCOPED_TRACE(decodeCase.label);
        ASSERT_NO_FATAL_FAILURE(ExpectStraightConversion(
            decodeCase, [](const ExpectedFrame& frame) { return frame.viaBgra; }, WINCODEC_ERR_UNSUPPORTEDOPERATION));
    }
}

// Rows are packed back to back with no padding, although the BMP file pads its rows to
// four bytes.
TEST(ImageDataRows, StrideIsWidthTimesThree)
{
    const struct
    {
        unsigned int width, height, byteCount, rowBytes;
    } cases[] = {{3, 2, 18, 9}, {1, 4, 12, 3}, {1, 1, 3, 3}};
    const ScratchFolder folder;
    PluginCopy plugin;
    for (const auto& layout : cases)
    {
        const Picture picture = PatternPicture(layout.width, layout.height, layout.width * 10 + layout.height);
        const std::wstring name = std::to_wstring(layout.width) + L"x" + std::to_wstring(layout.height) + L".bmp";
        const std::wstring path = folder.Write(name, Bmp24(picture));

        const ImageDataCall call(plugin.Load(), AnsiPath(path), 0);
        ASSERT_EQ(call.result, 0) << layout.width << " x " << layout.height;
        EXPECT_EQ(call.byteCount, layout.byteCount) << layout.width << " x " << layout.height;
        const std::string bytes = call.Bytes();
        for (unsigned int y = 0; y < layout.height; ++y)
        {
            const std::string row = bytes.substr(y * layout.rowBytes, layout.rowBytes);
            const Picture rowPicture{layout.width, 1,
                                     {picture.pixels.begin() + y * layout.width,
                                      picture.pixels.begin() + (y + 1) * layout.width}};
            EXPECT_EQ(row, rowPicture.Rgb()) << layout.width << " x " << layout.height << " row " << y;
        }
    }
}

} // namespace
