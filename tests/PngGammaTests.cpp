// A PNG without a profile but with gAMA (sample = light^gamma) and cHRM comes back in sRGB
// as if it embedded the profile the two chunks describe, as browsers show it, in every
// layout the matrix-and-curves path serves; sRGB, iCCP, an unusable gAMA and raw profiles
// leave it as stored, and a cHRM that makes no colour space leaves sRGB's primaries.
// Each file is written byte by byte. The expected rows were worked out once in double
// precision, apart from the plug-in's way (the power, the primaries' matrix under their
// white, Bradford to D65, sRGB's own matrix from its primaries, sRGB's curve, then
// alpha over the background), and kept as literals.

#include "support/ProfiledFiles.h"
#include "support/ViewerFrames.h"

#include <array>
#include <optional>

using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

using Type = PngColourType;

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

const ViewerCase gammaCases[] = {
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
    {{"GammaPaletteWithTransparencyOverWhite"},
     GammaPalette,
     {{129, 62, 26, 228, 255, 255, 255, 255, 255}},
     nullptr,
     1},
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
};

using PngGammaTest = testing::TestWithParam<ViewerCase>;

TEST_P(PngGammaTest, FrameIsThePictureABrowserShows)
{
    ExpectViewerFrames(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, PngGammaTest, testing::ValuesIn(gammaCases), CaseName());

} // namespace
