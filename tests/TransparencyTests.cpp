// A frame with alpha comes back over the background colour, as a viewer shows it: white,
// or the settings file's [Frames] background. Straight alpha gives (c * a + bg * (255 - a))
// / 255, premultiplied c + bg * (255 - a) / 255, rounded; each expected row is written out
// as literal numbers. BMP and ICO frames whose alpha is 0 throughout are opaque; raw
// transparency gives the stored colours. Files are written byte by byte.

#include "support/BitmapFiles.h"
#include "support/ProfiledFiles.h"
#include "support/ViewerFrames.h"

using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

using Type = PngColourType;

// (200, 100, 50) at alpha 0, 1, 128, 254 and 255; premultiplied, the same colour at each
// alpha (1 and 128 scaled down, as premultiplied colours are).
std::string StraightRow()
{
    return PngRow(Type::Rgba, 8, {200, 100, 50, 0, 200, 100, 50, 1, 200, 100, 50, 128, 200, 100, 50, 254, 200, 100, 50, 255});
}

std::string PremultipliedRow()
{
    return TiffRow(TiffColour::Rgb, TiffAlpha::Associated,
                   {0, 0, 0, 0, 1, 0, 0, 1, 100, 50, 25, 128, 200, 100, 50, 254, 200, 100, 50, 255});
}

// One transparent pixel: what the background setting makes of it.
std::string TransparentPixel()
{
    return PngRow(Type::Rgba, 8, {10, 20, 30, 0});
}

// Red, green and blue, alpha 0 throughout unless the first pixel is opaque.
Picture ThreeColours(bool firstOpaque)
{
    return PictureOf(3, 1, [&](unsigned int x, unsigned int) {
        return Rgba{static_cast<unsigned char>(x == 0 ? 255 : 0), static_cast<unsigned char>(x == 1 ? 255 : 0),
                    static_cast<unsigned char>(x == 2 ? 255 : 0), static_cast<unsigned char>(firstOpaque && x == 0 ? 255 : 0)};
    });
}

const std::vector<int> storedThree = {255, 0, 0, 0, 255, 0, 0, 0, 255};
const std::vector<int> redOverWhite = {255, 0, 0, 255, 255, 255, 255, 255, 255};

// Stored R G B over Y C M with the first pixel transparent, red and green swapped by the
// profile, turned clockwise by its tag.
std::string TransparentSwappedTurnedTiff()
{
    TiffPage page{3, 2, {}, TiffOrientation{6}};
    page.alpha = TiffAlpha::Unassociated;
    page.iccProfile = SwappedRedAndGreenProfile();
    for (const unsigned int sample : {255u, 0u, 0u, 0u, 0u, 255u, 0u, 255u, 0u, 0u, 255u, 255u, 255u, 255u, 0u, 255u,
                                      0u, 255u, 255u, 255u, 255u, 0u, 255u, 255u})
    {
        page.samples += static_cast<char>(sample);
    }
    return EncodeTiff({page});
}

const ViewerCase transparencyCases[] = {
    {{"StraightOverWhite"}, StraightRow, {{255, 255, 255, 255, 254, 254, 227, 177, 152, 200, 101, 51, 200, 100, 50}}},
    {{"StraightOverBlack"},
     StraightRow,
     {{0, 0, 0, 1, 0, 0, 100, 50, 25, 199, 100, 50, 200, 100, 50}},
     L"[Frames]\r\nbackground=000000\r\n"},
    {{"StraightOverOtherColour"},
     StraightRow,
     {{51, 102, 204, 52, 102, 203, 126, 101, 127, 199, 100, 51, 200, 100, 50}},
     L"[Frames]\r\nbackground=#3366cc\r\n"},
    {{"PremultipliedOverWhite"}, PremultipliedRow, {{255, 255, 255, 255, 254, 254, 227, 177, 152, 201, 101, 51, 200, 100, 50}}},
    {{"PremultipliedOverBlack"},
     PremultipliedRow,
     {{0, 0, 0, 1, 0, 0, 100, 50, 25, 200, 100, 50, 200, 100, 50}},
     L"[Frames]\r\nbackground=000000\r\n"},
    {{"PremultipliedOverOtherColour"},
     PremultipliedRow,
     {{51, 102, 204, 52, 102, 203, 125, 101, 127, 200, 100, 51, 200, 100, 50}},
     L"[Frames]\r\nbackground=3366CC\r\n"},
    // Background values that are no colour leave white.
    {{"BackgroundFiveDigits"}, TransparentPixel, {{255, 255, 255}}, L"[Frames]\r\nbackground=12345\r\n"},
    {{"BackgroundNotHex"}, TransparentPixel, {{255, 255, 255}}, L"[Frames]\r\nbackground=GGGGGG\r\n"},
    {{"BackgroundEmpty"}, TransparentPixel, {{255, 255, 255}}, L"[Frames]\r\nbackground=\r\n"},
    {{"BackgroundSevenDigits"}, TransparentPixel, {{255, 255, 255}}, L"[Frames]\r\nbackground=0000000\r\n"},
    {{"BackgroundLastNotHex"}, TransparentPixel, {{255, 255, 255}}, L"[Frames]\r\nbackground=12345G\r\n"},
    {{"Straight16Bit"},
     [] { return PngRow(Type::Rgba, 16, {51400, 25700, 12850, 32896, 51400, 25700, 12850, 65535}); },
     {{227, 177, 152, 200, 100, 50}}},
    {{"PaletteWithTransparentEntry"},
     [] {
         PngImage image{2, 1, Type::Palette, 8, std::string("\x00\x01", 2), std::string("\xFF\x00\x00\x00\xFF\x00", 6),
                        std::string("\x00", 1)};
         return EncodePng(image);
     },
     {{255, 255, 255, 0, 255, 0}}},
    {{"GreyWithAlpha"}, [] { return PngRow(Type::GreyAlpha, 8, {100, 128, 50, 0, 50, 255}); }, {{177, 177, 177, 255, 255, 255, 50, 50, 50}}},
    {{"PngAllTransparentShowsBackground"},
     [] { return PngRow(Type::Rgba, 8, {255, 0, 0, 0, 0, 255, 0, 0}); },
     {{255, 255, 255, 255, 255, 255}}},
    {{"BmpAlphaZeroThroughoutIsOpaque"}, [] { return Bmp32WithAlpha(ThreeColours(false)); }, {storedThree}},
    {{"BmpWithOneOpaquePixel"}, [] { return Bmp32WithAlpha(ThreeColours(true)); }, {redOverWhite}},
    {{"IcoAlphaZeroThroughoutIsOpaque"},
     [] { return Ico({{3, 1, 32, IconDib(ThreeColours(false), 32, false)}}); },
     {storedThree}},
    {{"IcoWithOneOpaquePixel"}, [] { return Ico({{3, 1, 32, IconDib(ThreeColours(true), 32)}}); }, {redOverWhite}},
    {{"RawBySettings"}, StraightRow, {{}}, L"[Frames]\r\ntransparency=RAW\r\n"},
    // Colours through the profile (linear light), alpha 32768 left out.
    {{"RawBySettingsSixteenBitWithProfile"},
     [] { return PngRow(Type::Rgba, 16, {65535, 0, 30000, 32768}, LinearRgbProfile()); },
     {{255, 0, 180}},
     L"[Frames]\r\ntransparency=raw\r\n"},
    // Colour first, then alpha, then the turn: Y W over M R over C B.
    {{"AfterColourBeforeTheTurn"},
     TransparentSwappedTurnedTiff,
     {{255, 255, 0, 255, 255, 255, 255, 0, 255, 255, 0, 0, 0, 255, 255, 0, 0, 255}},
     nullptr,
     1},
};

using TransparencyTest = testing::TestWithParam<ViewerCase>;

TEST_P(TransparencyTest, FrameIsThePictureAViewerShows)
{
    ExpectViewerFrames(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, TransparencyTest, testing::ValuesIn(transparencyCases), CaseName());

} // namespace
