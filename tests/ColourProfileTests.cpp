// A frame whose file embeds an ICC profile comes back in sRGB, as a colour-managed viewer
// shows it; a frame whose profile describes sRGB, cannot be used, or is asked for raw comes
// back as stored. Each file is written byte by byte with a profile written by the test
// support, and each expected row is a known number: a profile that swaps red and green pins
// the channel order, a linear-light profile gives sRGB's curve of its samples, and the
// CMYK rows were worked out once by little CMS's transicc (perceptual intent, to its own
// sRGB) from the same profile and kept as literals. Wine's JPEG decoder gives no colour
// contexts, so JPEG's profiles are not reached here. A PNG without a profile but with gAMA
// (sample = light^gamma) and cHRM converts as if it had the profile they describe; those
// rows were worked out once in double precision (the power, the primaries' matrix under
// their white, Bradford to D65, sRGB's own matrix from its primaries, sRGB's curve) and
// kept as literals.

#include "support/FileBytes.h"
#include "support/ProfiledFiles.h"
#include "support/ViewerFrames.h"

#include <array>
#include <optional>
#include <random>

using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

using Type = PngColourType;

std::string RgbPng(const std::vector<unsigned int>& samples, const std::string& profile)
{
    return PngRow(Type::Rgb, 8, samples, profile);
}

const std::vector<unsigned int> primaries = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 200, 30};

// Profiles that cannot be used leave the frame as stored.
std::string Damaged(std::string profile)
{
    return RgbPng(primaries, profile);
}

std::string RandomBytes()
{
    std::mt19937 random(28);
    std::string bytes(600, '\0');
    for (char& byte : bytes)
    {
        byte = static_cast<char>(random());
    }
    return bytes;
}

// The declared size (the header's first four bytes) past the bytes there are.
std::string LengthPastTheEnd()
{
    std::string profile = LinearRgbProfile();
    profile[0] = '\x7F';
    return profile;
}

// A tag whose offset points past the profile's end.
std::string TagOutside()
{
    std::string profile = LinearRgbProfile();
    profile[132 + 4] = '\x7F'; // the first tag's offset
    return profile;
}

std::string LabProfile()
{
    IccProfileToEncode lab = MatrixProfile(SrgbSpace());
    lab.colourSpace = IccSignature("Lab ");
    return ProfileBytes(lab);
}

// A 3 x 2 TIFF page, swapped red and green, stored turned: tag 6 turns it clockwise.
std::string TurnedSwappedTiff()
{
    TiffPage page{3, 2, std::string("\xFF\x00\x00" "\x00\xFF\x00" "\x00\x00\xFF" "\xFF\xFF\x00" "\x00\xFF\xFF" "\xFF\x00\xFF", 18),
                  TiffOrientation{6}};
    page.iccProfile = SwappedRedAndGreenProfile();
    return EncodeTiff({page});
}

// cHRM's values (white, red, green, blue, x and y times 100000): sRGB's; ITU-R BT.2020's,
// far wider; ProPhoto RGB's, under D50; and red where green is, which makes no matrix.
using Chromaticities = std::array<unsigned int, 8>;
constexpr Chromaticities srgbPrimaries = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
constexpr Chromaticities widePrimaries = {31270, 32900, 70800, 29200, 17000, 79700, 13100, 4600};
constexpr Chromaticities d50Primaries = {34570, 35850, 73470, 26530, 15960, 84040, 3660, 1};
constexpr Chromaticities singularPrimaries = {31270, 32900, 64000, 33000, 64000, 33000, 15000, 6000};

// gAMA's values: linear light, a pure power of 2.2 (1 / 2.2 = 0.45455), and 2.5.
constexpr unsigned int linear = 100000, power22 = 45455, gamma25 = 250000;

const std::vector<unsigned int> shades = {0, 0, 0, 1, 64, 128, 200, 255, 255, 128, 64, 32};
const std::vector<int> linearShades = {0, 0, 0, 13, 137, 188, 229, 255, 255, 188, 137, 99};
const std::vector<unsigned int> translucentShades = {128, 64, 32, 255, 1, 64, 128, 128, 200, 255, 255, 0};

PngImage WithColourChunks(PngImage image, unsigned int gamma, std::optional<Chromaticities> chromaticities = {})
{
    image.gamma = gamma;
    image.chromaticities = chromaticities;
    return image;
}

std::string GammaPng(Type type, unsigned int bitDepth, const std::vector<unsigned int>& samples, unsigned int gamma,
                     std::optional<Chromaticities> chromaticities = {})
{
    return EncodePng(WithColourChunks(RowImage(type, bitDepth, samples), gamma, chromaticities));
}

// Indices 0, 1, 2 of (128, 64, 32) opaque, (200, 255, 255) at alpha 128 and (1, 64, 128)
// transparent.
std::string GammaPalette()
{
    PngImage image = WithColourChunks(RowImage(Type::Palette, 8, {0, 1, 2}), power22, srgbPrimaries);
    image.palette = std::string("\x80\x40\x20" "\xC8\xFF\xFF" "\x01\x40\x80", 9);
    image.transparency = std::string("\xFF\x80\x00", 3);
    return EncodePng(image);
}

std::string GammaWithSrgbChunk()
{
    PngImage image = WithColourChunks(RowImage(Type::Rgb, 8, shades), linear);
    image.srgbIntent = 0;
    return EncodePng(image);
}

const ViewerCase colourCases[] = {
    {{"GammaOneIsLinearLight"}, [] { return GammaPng(Type::Rgb, 8, shades, linear); }, {linearShades}, nullptr, 1},
    {{"GammaPurePower22IsNotSrgb"},
     [] { return GammaPng(Type::Rgb, 8, shades, power22); },
     {{0, 0, 0, 0, 62, 129, 201, 255, 255, 129, 62, 26}},
     nullptr,
     1},
    {{"GammaPurePower22WithSrgbPrimaries"},
     [] { return GammaPng(Type::Rgb, 8, shades, power22, srgbPrimaries); },
     {{0, 0, 0, 0, 62, 129, 201, 255, 255, 129, 62, 26}},
     nullptr,
     1},
    {{"Gamma25"},
     [] { return GammaPng(Type::Rgb, 8, shades, gamma25); },
     {{0, 0, 0, 93, 200, 226, 244, 255, 255, 226, 200, 176}},
     nullptr,
     1},
    {{"GammaOneWidePrimaries"},
     [] { return GammaPng(Type::Rgb, 8, shades, linear, widePrimaries); },
     {{0, 0, 0, 0, 144, 193, 210, 255, 255, 215, 129, 92}},
     nullptr,
     1},
    {{"Gamma25PrimariesUnderD50"},
     [] { return GammaPng(Type::Rgb, 8, shades, gamma25, d50Primaries); },
     {{0, 0, 0, 0, 215, 230, 233, 255, 255, 254, 193, 172}},
     nullptr,
     1},
    {{"GammaOneWidePrimariesSixteenBit"},
     [] { return GammaPng(Type::Rgb, 16, {100, 300, 3000, 30000, 65535, 0}, linear, widePrimaries); },
     {{0, 15, 64, 115, 255, 0}},
     nullptr,
     1},
    {{"GammaPurePower22SixteenBit"},
     [] { return GammaPng(Type::Rgb, 16, {100, 300, 3000, 30000, 65535, 0}, power22); },
     {{0, 0, 4, 117, 255, 0}},
     nullptr,
     1},
    // Grey stays grey whatever the primaries.
    {{"Gamma25Grey"},
     [] { return GammaPng(Type::Grey, 8, {1, 64, 128, 200}, gamma25, widePrimaries); },
     {{93, 93, 93, 200, 200, 200, 226, 226, 226, 244, 244, 244}},
     nullptr,
     1},
    {{"GammaPurePower22GreySixteenBit"},
     [] { return GammaPng(Type::Grey, 16, {100, 3000, 30000}, power22); },
     {{0, 0, 0, 4, 4, 4, 117, 117, 117}},
     nullptr,
     1},
    {{"GammaPaletteWithTransparencyOverWhite"}, GammaPalette, {{129, 62, 26, 228, 255, 255, 255, 255, 255}}, nullptr, 1},
    {{"GammaOneWidePrimariesWithAlphaOverWhite"},
     [] { return GammaPng(Type::Rgba, 8, translucentShades, linear, widePrimaries); },
     {{215, 129, 92, 127, 199, 224, 255, 255, 255}},
     nullptr,
     1},
    {{"GammaOneWithAlphaOverBlue"},
     [] { return GammaPng(Type::Rgba, 8, {128, 64, 32, 255, 1, 64, 128, 100}, linear); },
     {{188, 137, 99, 5, 54, 229}},
     L"[Frames]\r\nbackground=0000FF\r\n",
     1},
    // A chromaticity that makes no colour space leaves sRGB's primaries.
    {{"GammaOneSingularPrimariesIgnored"},
     [] { return GammaPng(Type::Rgb, 8, shades, linear, singularPrimaries); },
     {linearShades},
     nullptr,
     1},
    // The profile decides, not gAMA.
    {{"GammaUnderAProfile"},
     [] { return EncodePng(WithColourChunks(RowImage(Type::Rgb, 8, shades, LinearRgbProfile()), power22)); },
     {linearShades},
     nullptr,
     1},
    // Left as stored.
    {{"GammaUnderAnSrgbChunk"}, GammaWithSrgbChunk, {{}}},
    {{"GammaUnderAnSrgbProfile"},
     [] {
         return EncodePng(
             WithColourChunks(RowImage(Type::Rgb, 8, shades, ProfileBytes(MatrixProfile(SrgbSpace()))), linear));
     },
     {{}}},
    {{"GammaZeroIgnored"}, [] { return GammaPng(Type::Rgb, 8, shades, 0, widePrimaries); }, {{}}},
    {{"GammaRawBySettings"},
     [] { return GammaPng(Type::Rgb, 8, shades, linear); },
     {{}},
     L"[Frames]\r\nprofile=raw\r\n"},
    {{"ChannelOrderBySwappedRedAndGreen"},
     [] { return RgbPng(primaries, SwappedRedAndGreenProfile()); },
     {{0, 255, 0, 255, 0, 0, 0, 0, 255, 200, 10, 30}}},
    {{"LinearLightRgb"},
     [] { return RgbPng({0, 0, 0, 1, 64, 128, 200, 255, 255}, LinearRgbProfile()); },
     {{0, 0, 0, 13, 137, 188, 229, 255, 255}}},
    {{"LinearLightGrey"},
     [] { return PngRow(Type::Grey, 8, {1, 64, 128, 200}, LinearGreyProfile()); },
     {{13, 13, 13, 137, 137, 137, 188, 188, 188, 229, 229, 229}}},
    // From 8 bits first, 100 and 300 would give 0 and 13.
    {{"SixteenBitFromItsOwnValues"},
     [] { return PngRow(Type::Rgb, 16, {100, 300, 3000, 30000, 65535, 0}, LinearRgbProfile()); },
     {{5, 14, 60, 180, 255, 0}}},
    {{"SixteenBitGrey"},
     [] { return PngRow(Type::Grey, 16, {100, 300}, LinearGreyProfile()); },
     {{5, 5, 5, 14, 14, 14}}},
    {{"SixteenBitWithAlphaOverWhite"},
     [] { return PngRow(Type::Rgba, 16, {100, 300, 30000, 65535}, LinearRgbProfile()); },
     {{5, 14, 180}}},
    {{"CmykThroughTheEngine"},
     [] {
         return TiffRow(TiffColour::Cmyk, TiffAlpha::None,
                        {0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 128, 128, 64, 0, 0},
                        ProfileBytes(NaiveCmykProfile()));
     },
     {{255, 255, 255, 0, 255, 255, 255, 0, 255, 0, 0, 0, 127, 127, 127, 127, 191, 255}},
     nullptr,
     2},
    // A table-based profile of sRGB itself, run by the engine on a lattice.
    {{"TableProfileThroughTheEngine"},
     [] { return RgbPng({255, 0, 0, 0, 255, 0, 0, 0, 255, 200, 100, 50, 128, 128, 128}, ProfileBytes(TableProfile("sRGB table", SrgbLabConversion(), 17))); },
     {{255, 0, 0, 0, 255, 0, 0, 0, 255, 200, 100, 50, 128, 128, 128}},
     nullptr,
     2},
    // Stored R G B over Y C M, swapped G R B over Y M C, then turned clockwise.
    {{"TurnedAfterColour"},
     TurnedSwappedTiff,
     {{255, 255, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 0, 255, 255, 0, 0, 255}},
     nullptr,
     1},
    // Left as stored.
    {{"SrgbProfile"}, [] { return RgbPng(primaries, ProfileBytes(MatrixProfile(SrgbSpace()))); }, {{}}},
    {{"SrgbProfileVersion4"},
     [] { return RgbPng(primaries, ProfileBytes(MatrixProfile(SrgbSpace(), IccVersion::V4_3))); },
     {{}}},
    {{"RawBySettings"},
     [] { return RgbPng(primaries, SwappedRedAndGreenProfile()); },
     {{}},
     L"[Frames]\r\nprofile=RaW\r\n"},
    {{"RandomBytes"}, [] { return Damaged(RandomBytes()); }, {{}}},
    {{"LengthPastTheEnd"}, [] { return Damaged(LengthPastTheEnd()); }, {{}}},
    {{"TagOutsideTheProfile"}, [] { return Damaged(TagOutside()); }, {{}}},
    {{"LabColourSpace"}, [] { return Damaged(LabProfile()); }, {{}}},
    {{"RgbProfileOnCmykFrame"},
     [] { return TiffRow(TiffColour::Cmyk, TiffAlpha::None, {0, 255, 0, 0}, LinearRgbProfile()); },
     {{}}},
};

using ColourProfileTest = testing::TestWithParam<ViewerCase>;

TEST_P(ColourProfileTest, FrameIsThePictureAViewerShows)
{
    ExpectViewerFrames(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, ColourProfileTest, testing::ValuesIn(colourCases), CaseName());

// The settings file is read only for a frame that a step changes: its last-access time,
// set well before its last write, stays put while an sRGB-tagged frame and an opaque one
// decode, and moves once a frame whose profile converts it decodes (which shows that this
// file system records reads at all).
TEST(FrameSettingsReads, OnlyForAFrameAStepChanges)
{
    const ScratchFolder folder;
    const std::string srgb = AnsiPath(folder.Write(L"srgb.png", RgbPng(primaries, ProfileBytes(MatrixProfile(SrgbSpace())))));
    const std::string opaque = AnsiPath(folder.Write(L"opaque.png", RgbPng(primaries, {})));
    const std::string converted = AnsiPath(folder.Write(L"converted.png", RgbPng(primaries, LinearRgbProfile())));
    PluginCopy plugin;
    plugin.WriteSettings(L"[Frames]\r\nprofile=included\r\ntransparency=included\r\n");
    constexpr std::uint64_t longAgo = 126227808000000000; // 2001-01-01
    SetLastAccessTime(plugin.SettingsPath(), longAgo);

    for (const std::string& path : {srgb, opaque})
    {
        EXPECT_EQ(ImageDataCall(plugin.Load(), path, 0).result, 0) << path;
    }
    EXPECT_EQ(LastAccessTime(plugin.SettingsPath()), longAgo);

    EXPECT_EQ(ImageDataCall(plugin.Load(), converted, 0).result, 0);
    if (LastAccessTime(plugin.SettingsPath()) == longAgo)
    {
        GTEST_SKIP() << "this file system does not record when a file is read";
    }
}

} // namespace
