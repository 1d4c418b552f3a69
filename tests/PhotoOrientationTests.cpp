// A photo comes back upright: a TIFF page whose Orientation tag says 2 to 8 is turned and
// mirrored as the tag says, each page by its own tag, and every other page comes back as
// bare WIC hands it over, as do all pages when the settings file asks for stored pixels.
// Each TIFF is written byte by byte, every page storing the same 3 x 2 picture of six
// colours, so that every turn and mirror gives a picture of its own; each expected
// picture is written out as rows of colour letters (see support/Animations.h). WIC's JPEG
// decoder under Wine gives no EXIF, so JPEG's tag is not reached here.

#include "hosting/ComApartment.h"
#include "hosting/ImageDataCall.h"
#include "hosting/TiffEncoder.h"
#include "support/Animations.h"
#include "support/BareWicBytes.h"
#include "support/CaseNames.h"
#include "support/PixelsMatch.h"
#include "support/PluginCopy.h"
#include "support/TestImages.h"
#include "support/ViewerFrames.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

// What every page stores: red, green, blue above yellow, cyan, magenta.
constexpr unsigned int storedWidth = 3;
constexpr const char* storedRows = "RGB" "YCM";

struct PageCase
{
    std::optional<TiffOrientation> tag; // none: the page has no Orientation tag
    unsigned int width = storedWidth;   // of the picture a viewer shows
    const char* rows = nullptr;         // the picture a viewer shows; null: as stored, bare WIC's own
};

struct OrientationCase : NamedCase
{
    std::vector<PageCase> pages;
    const wchar_t* settings = nullptr; // none when null
};

TiffOrientation Tag(unsigned int value, TiffOrientation::Type type = TiffOrientation::Type::Short)
{
    return TiffOrientation{value, type};
}

const PageCase turnedClockwise{Tag(6), 2, "YR" "CG" "MB"};
const PageCase turned180{Tag(3), 3, "MCY" "BGR"};

const OrientationCase orientationCases[] = {
    {{"Upright"}, {{Tag(1), 3, "RGB" "YCM"}}},
    {{"MirroredLeftToRight"}, {{Tag(2), 3, "BGR" "MCY"}}},
    {{"Turned180"}, {turned180}},
    {{"MirroredTopToBottom"}, {{Tag(4), 3, "YCM" "RGB"}}},
    {{"Transposed"}, {{Tag(5), 2, "RY" "GC" "BM"}}},
    {{"TurnedClockwise"}, {turnedClockwise}},
    {{"Transversed"}, {{Tag(7), 2, "MB" "CG" "YR"}}},
    {{"TurnedAnticlockwise"}, {{Tag(8), 2, "BM" "GC" "RY"}}},
    {{"TagStoredAsLong"}, {{Tag(6, TiffOrientation::Type::Long), 2, "YR" "CG" "MB"}}},
    // Values outside 1 to 8, and no tag at all, leave the page as stored.
    {{"NoTag"}, {{std::nullopt}}},
    {{"ValueZero"}, {{Tag(0)}}},
    {{"ValueNine"}, {{Tag(9)}}},
    {{"ValueLargest"}, {{Tag(65535)}}},
    {{"EachPageByItsOwnTag"}, {turnedClockwise, turned180, {Tag(1), 3, "RGB" "YCM"}}},
    {{"StoredPixelsBySettings"}, {{Tag(6)}, {Tag(3)}, {Tag(1)}}, L"[Frames]\r\norientation=RaW\r\n"},
};

std::string OrientedTiff(const std::vector<PageCase>& pages)
{
    std::vector<TiffPage> tiff;
    for (const PageCase& page : pages)
    {
        tiff.push_back({storedWidth, 2, Letters(storedWidth, storedRows).Rgb(), page.tag});
    }
    return EncodeTiff(tiff);
}

using PhotoOrientationTest = testing::TestWithParam<OrientationCase>;

TEST_P(PhotoOrientationTest, EveryPageIsThePictureAViewerShows)
{
    const OrientationCase& testCase = GetParam();
    const ScratchFolder folder;
    const std::wstring path = folder.Write(L"photo.tif", OrientedTiff(testCase.pages));
    PluginCopy plugin;
    if (testCase.settings != nullptr)
    {
        plugin.WriteSettings(testCase.settings);
    }
    const ComApartment com(COINIT_APARTMENTTHREADED); // bare WIC's, on this thread
    for (unsigned int index = 0; index < testCase.pages.size(); ++index)
    {
        const PageCase& page = testCase.pages[index];
        const Picture expected = Letters(page.width, page.rows != nullptr ? page.rows : storedRows);
        const ImageDataCall call(plugin.Load(), AnsiPath(path), index);
        ASSERT_EQ(call.result, 0) << "page " << index;
        EXPECT_TRUE(call.messages.empty()) << "page " << index;
        EXPECT_EQ(call.frameCount, testCase.pages.size());
        EXPECT_EQ(call.width, expected.width) << "page " << index;
        EXPECT_EQ(call.height, expected.height) << "page " << index;
        EXPECT_TRUE(PixelsMatch(call.Bytes(), expected)) << "page " << index;
        if (page.rows == nullptr)
        {
            EXPECT_EQ(call.Bytes(), BareWicBytes(path, index)) << "page " << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PhotoOrientationTest, testing::ValuesIn(orientationCases), CaseName());

// Pages of formats that Wine's converter cannot turn into 24-bit RGB directly (grey, 1-bit,
// palette, 16-bit): they are read through its fallback, and turned all the same. Every
// page stores 3 x 2 samples: grey levels 10 20 30 over 40 50 60, or colours R G B over
// Y C M.
std::string TurnedPage(TiffColour colour, unsigned int bits, const std::vector<unsigned int>& samples, unsigned int turn)
{
    TiffPage page{3, 2, {}, TiffOrientation{turn}, colour, bits};
    for (const unsigned int sample : samples)
    {
        page.samples += static_cast<char>(sample & 0xFF);
        if (bits == 16)
        {
            page.samples += static_cast<char>(sample >> 8);
        }
    }
    if (colour == TiffColour::Palette)
    {
        // Indices 0 to 5 are R, G, B, Y, C, M; all reds, then greens, then blues.
        page.colourMap.assign(3 * 256, 0);
        const unsigned int colours[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
        for (unsigned int index = 0; index < 6; ++index)
        {
            for (unsigned int channel = 0; channel < 3; ++channel)
            {
                page.colourMap[channel * 256 + index] = static_cast<std::uint16_t>(colours[index][channel] * 65535);
            }
        }
    }
    return EncodeTiff({page});
}

const ViewerCase fallbackCases[] = {
    {{"Grey8Turned180"},
     [] { return TurnedPage(TiffColour::Grey, 8, {10, 20, 30, 40, 50, 60}, 3); },
     {{60, 60, 60, 50, 50, 50, 40, 40, 40, 30, 30, 30, 20, 20, 20, 10, 10, 10}}},
    {{"Grey16TurnedClockwise"},
     [] { return TurnedPage(TiffColour::Grey, 16, {2570, 5140, 7710, 10280, 12850, 15420}, 6); },
     {{40, 40, 40, 10, 10, 10, 50, 50, 50, 20, 20, 20, 60, 60, 60, 30, 30, 30}}},
    {{"PaletteTurnedAnticlockwise"},
     [] { return TurnedPage(TiffColour::Palette, 8, {0, 1, 2, 3, 4, 5}, 8); },
     {{0, 0, 255, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 255, 255, 0}}},
    // Rows of bits: white, black, black over black, white, white.
    {{"OneBitMirrored"},
     [] { return TurnedPage(TiffColour::Grey, 1, {0x80, 0x60}, 2); },
     {{0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0}}},
    {{"Rgb16Transposed"},
     [] {
         return TurnedPage(TiffColour::Rgb, 16,
                           {65535, 0, 0, 0, 65535, 0, 0, 0, 65535, 65535, 65535, 0, 0, 65535, 65535, 65535, 0, 65535},
                           5);
     },
     {{255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 255}}},
};

using PhotoOrientationFallbackTest = testing::TestWithParam<ViewerCase>;

TEST_P(PhotoOrientationFallbackTest, PageIsTurnedAfterTheConverterFallback)
{
    ExpectViewerFrames(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Formats, PhotoOrientationFallbackTest, testing::ValuesIn(fallbackCases), CaseName());

// A page larger than the strips the turn reads it in, so that runs meet across strips:
// every stored pixel holds its own place (x and y in red and green, their high bits in
// blue), and the upright pixel at (u, v) must hold the stored pixel the tag sends there.
TEST(PhotoOrientationLarge, EveryStoredPixelLandsWhereItsTagSendsIt)
{
    constexpr unsigned int width = 250;  // 750 bytes a row: 349 rows to a strip of 256 KB
    constexpr unsigned int height = 400;
    const auto stored = [](unsigned int x, unsigned int y) {
        return Rgba{static_cast<unsigned char>(x), static_cast<unsigned char>(y),
                    static_cast<unsigned char>(x >> 8 | (y >> 8) << 4)};
    };
    struct Point
    {
        unsigned int x, y;
    };
    // Upright (u, v) to stored (x, y), for tags 2 to 8.
    const std::function<Point(unsigned int u, unsigned int v)> storedAt[] = {
        [](unsigned int u, unsigned int v) { return Point{width - 1 - u, v}; },
        [](unsigned int u, unsigned int v) { return Point{width - 1 - u, height - 1 - v}; },
        [](unsigned int u, unsigned int v) { return Point{u, height - 1 - v}; },
        [](unsigned int u, unsigned int v) { return Point{v, u}; },
        [](unsigned int u, unsigned int v) { return Point{v, height - 1 - u}; },
        [](unsigned int u, unsigned int v) { return Point{width - 1 - v, height - 1 - u}; },
        [](unsigned int u, unsigned int v) { return Point{width - 1 - v, u}; },
    };
    const ScratchFolder folder;
    PluginCopy plugin;
    for (unsigned int tag = 2; tag <= 8; ++tag)
    {
        const std::wstring path = folder.Write(L"large" + std::to_wstring(tag) + L".tif",
                                               EncodeTiff({{width, height, PictureOf(width, height, stored).Rgb(), Tag(tag)}}));
        const bool swapped = tag >= 5;
        const Picture expected = PictureOf(swapped ? height : width, swapped ? width : height, [&](unsigned int u, unsigned int v) {
            const Point from = storedAt[tag - 2](u, v);
            return stored(from.x, from.y);
        });
        const ImageDataCall call(plugin.Load(), AnsiPath(path), 0);
        ASSERT_EQ(call.result, 0) << "tag " << tag;
        EXPECT_EQ(call.width, expected.width) << "tag " << tag;
        EXPECT_TRUE(PixelsMatch(call.Bytes(), expected)) << "tag " << tag;
    }
}

// The settings file is read only for a photo whose tag asks for a turn: its last-access
// time, set well before its last write, stays put while upright, untagged and other
// pictures decode, and moves once a turned page decodes (which shows that this file
// system records reads at all).
TEST(PhotoOrientationSettings, ReadOnlyForAPhotoThatTurns)
{
    const ScratchFolder folder;
    const std::string upright = AnsiPath(folder.Write(L"upright.tif", OrientedTiff({{Tag(1)}, {std::nullopt}, {Tag(9)}})));
    const std::string png = AnsiPath(folder.Write(L"picture.png", EncodeWithWic(GUID_ContainerFormatPng,
                                                                                {AsBgr24(PatternPicture(3, 2, 1))})));
    const std::string turned = AnsiPath(folder.Write(L"turned.tif", OrientedTiff({turnedClockwise})));
    PluginCopy plugin;
    plugin.WriteSettings(L"[Frames]\r\norientation=included\r\n");
    constexpr std::uint64_t longAgo = 126227808000000000; // 2001-01-01
    SetLastAccessTime(plugin.SettingsPath(), longAgo);

    for (const auto& [path, page] : {std::pair{upright, 0u}, {upright, 1u}, {upright, 2u}, {png, 0u}})
    {
        EXPECT_EQ(ImageDataCall(plugin.Load(), path, page).result, 0) << path << " page " << page;
    }
    EXPECT_EQ(LastAccessTime(plugin.SettingsPath()), longAgo);

    EXPECT_EQ(ImageDataCall(plugin.Load(), turned, 0).result, 0);
    if (LastAccessTime(plugin.SettingsPath()) == longAgo)
    {
        GTEST_SKIP() << "this file system does not record when a file is read";
    }
}

} // namespace
