// A frame whose file embeds an ICC profile comes back in sRGB, as a colour-managed viewer
// shows it; a frame whose profile describes sRGB, cannot be used, or is asked for raw comes
// back as stored. Each file is written byte by byte with a profile written by the test
// support, and each expected row is a known number: a profile that swaps red and green pins
// the channel order, a linear-light profile gives sRGB's curve of its samples, and the
// CMYK rows were worked out once by little CMS's transicc (perceptual intent, to its own
// sRGB) from the same profile and kept as literals. Wine's JPEG decoder gives no colour
// contexts, so JPEG's profiles are not reached here.

#include "support/Animations.h"
#include "support/FileBytes.h"
#include "support/ProfiledFiles.h"
#include "support/ViewerFrames.h"

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

// Wider than a strip of 256 KB of grey words.
constexpr std::size_t wideGrey = 300000;

const std::vector<unsigned int> primaries = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 200, 30};

// Profiles that cannot be used leave the frame as stored.
std::string DamagedPng(std::string profile)
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

// Damaged profiles in a TIFF (tag 34675), whose decoder hands the bytes over unchecked;
// PNG's checks and drops a bad iCCP itself.
std::string DamagedTiff(std::string profile)
{
    return TiffRow(TiffColour::Rgb, TiffAlpha::None, primaries, profile);
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

const ViewerCase colourCases[] = {
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
    // Grey words become RGB bytes: a row longer than a strip of words would spill far.
    {{"SixteenBitGreyWiderThanAStrip"},
     [] { return PngRow(Type::Grey, 16, std::vector<unsigned int>(wideGrey, 16448), LinearGreyProfile()); },
     {std::vector<int>(3 * wideGrey, 137)}},
    // Alpha 65535, then 32768: half, not its low byte.
    {{"SixteenBitWithAlphaOverWhite"},
     [] { return PngRow(Type::Rgba, 16, {100, 300, 30000, 65535, 65535, 0, 30000, 32768}, LinearRgbProfile()); },
     {{5, 14, 180, 255, 127, 217}}},
    // ProPhoto's matrix has the largest entries of the published spaces.
    {{"ProPhotoPrimaries"},
     [] { return RgbPng({255, 0, 0, 0, 255, 0, 0, 0, 255, 128, 128, 128, 200, 100, 50}, ProfileBytes(MatrixProfile(ProPhotoSpace()))); },
     {{255, 0, 0, 0, 255, 0, 0, 0, 255, 146, 146, 146, 255, 80, 47}},
     nullptr,
     1},
    // Linear light for red, sRGB's curve for green (as stored), gamma 2 for blue.
    {{"CurvePerChannel"},
     [] {
         return RgbPng({64, 64, 64, 200, 100, 50, 1, 128, 255},
                       ProfileBytes(MatrixProfile("A curve per channel", D50Colorants(SrgbSpace()),
                                                  {IccToneCurve::Gamma(1.0), IccToneCurve::Srgb(), IccToneCurve::Gamma(2.0)})));
     },
     {{137, 64, 71, 229, 100, 55, 13, 128, 255}},
     nullptr,
     1},
    {{"CmykThroughTheEngine"},
     [] {
         return TiffRow(TiffColour::Cmyk, TiffAlpha::None,
                        {0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0, 128, 128, 64, 0, 0,
                         40, 0, 0, 0, 40, 72, 104, 136, 8, 200, 40, 8},
                        ProfileBytes(NaiveCmykProfile()));
     },
     {{255, 255, 255, 0, 255, 255, 255, 0, 255, 0, 0, 0, 127, 127, 127, 127, 191, 255, 215, 255, 255, 100, 86, 71,
       239, 55, 209}},
     nullptr,
     2},
    // What WIC's own conversion never gives: cyan ink that shows as magenta.
    {{"CmykProfileThatSwapsInks"},
     [] {
         return TiffRow(TiffColour::Cmyk, TiffAlpha::None, {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 40, 0, 0, 0},
                        ProfileBytes(NaiveCmykProfile(9, IccVersion::V2_1, true)));
     },
     {{255, 0, 255, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255, 215, 255}},
     nullptr,
     2},
    {{"SixteenBitCmyk"},
     [] {
         return TiffRow(TiffColour::Cmyk, TiffAlpha::None,
                        {16384, 49152, 0, 0, 0, 0, 0, 32768, 65535, 0, 0, 0, 1000, 2000, 60000, 5000, 300, 0, 0, 65000},
                        ProfileBytes(NaiveCmykProfile()), 16);
     },
     {{191, 64, 255, 127, 128, 127, 0, 255, 255, 232, 229, 22, 3, 3, 3}},
     nullptr,
     2},
    // A table-based profile of sRGB itself, run by the engine on a lattice; the last six
    // colours lie one in each of the six tetrahedra of a lattice cell (64, 100 and 159 lie
    // near its start, middle and end).
    {{"TableProfileThroughTheEngine"},
     [] {
         return RgbPng({255, 0, 0, 0, 255, 0, 0, 0, 255, 200, 100, 50, 128, 128, 128, 159, 100, 64, 159, 64, 100, 100,
                        64, 159, 100, 159, 64, 64, 159, 100, 64, 100, 159},
                       ProfileBytes(TableProfile("sRGB table", SrgbLabConversion(), 17)));
     },
     {{255, 0, 0, 0, 255, 0, 0, 0, 255, 200, 100, 50, 128, 128, 128, 159, 100, 64, 159, 64, 100, 100,
       64, 159, 100, 159, 64, 64, 159, 100, 64, 100, 159}},
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
    {{"RandomBytes"}, [] { return DamagedPng(RandomBytes()); }, {{}}},
    {{"LengthPastTheEnd"}, [] { return DamagedPng(DamagedIccProfile(LinearRgbProfile(), IccDamage::LengthPastTheEnd)); }, {{}}},
    {{"TagOutsideTheProfile"}, [] { return DamagedPng(DamagedIccProfile(LinearRgbProfile(), IccDamage::TagOutside)); }, {{}}},
    {{"TagEndOutsideTheProfile"}, [] { return DamagedPng(DamagedIccProfile(LinearRgbProfile(), IccDamage::TagEndOutside)); }, {{}}},
    {{"LengthPastTheEndInTiff"}, [] { return DamagedTiff(DamagedIccProfile(LinearRgbProfile(), IccDamage::LengthPastTheEnd)); }, {{}}},
    {{"TagOutsideTheProfileInTiff"}, [] { return DamagedTiff(DamagedIccProfile(LinearRgbProfile(), IccDamage::TagOutside)); }, {{}}},
    {{"TagEndOutsideTheProfileInTiff"}, [] { return DamagedTiff(DamagedIccProfile(LinearRgbProfile(), IccDamage::TagEndOutside)); }, {{}}},
    {{"LabColourSpace"}, [] { return DamagedPng(LabProfile()); }, {{}}},
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
// set well before its last write, stays put while an sRGB-tagged frame, an opaque still
// PNG, a PNG whose animation is broken and a linear-light frame no brighter than SDR white
// decode, and moves once a frame whose profile converts it decodes (which shows that this
// file system records reads at all).
TEST(FrameSettingsReads, OnlyForAFrameAStepChanges)
{
    const ScratchFolder folder;
    const std::string srgb = AnsiPath(folder.Write(L"srgb.png", RgbPng(primaries, ProfileBytes(MatrixProfile(SrgbSpace())))));
    const std::string opaque = AnsiPath(folder.Write(L"opaque.png", RgbPng(primaries, {})));
    const std::string converted = AnsiPath(folder.Write(L"converted.png", RgbPng(primaries, LinearRgbProfile())));
    const std::string sdrFloat =
        AnsiPath(folder.Write(L"sdr.tif", FloatTiff(2, TiffColour::Rgb, TiffAlpha::None, {0, 0.5f, 1, 1, 0.2f, 0})));
    const PngImage red{1, 1, PngColourType::Rgb, 8, std::string("\xFF\x00\x00", 3)};
    const ApngToEncode broken{red, false, {{1, 0, red}}}; // its frame outside the canvas
    const std::string brokenAnimation = AnsiPath(folder.Write(L"broken.png", EncodeApng(broken)));
    PluginCopy plugin;
    plugin.WriteSettings(L"[Frames]\r\nprofile=included\r\ntransparency=included\r\napng=included\r\nhdr=tonemap\r\n");
    constexpr std::uint64_t longAgo = 126227808000000000; // 2001-01-01
    SetLastAccessTime(plugin.SettingsPath(), longAgo);

    for (const std::string& path : {srgb, opaque, brokenAnimation, sdrFloat})
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
