// Linear-light (scRGB) frames, where 1.0 is SDR white: every format Wine's decoders hand
// over comes out, a picture no brighter than SDR white as the exact sRGB encoding of its
// samples, a brighter one tone mapped (BT.2390's EETF on luminance, from its 99.99th
// percentile into SDR white), clipped instead with hdr=clip. The JPEG XR files are
// committed fixtures made by Debian's JxrEncApp (tests/fixtures/README.md), all from one
// 4 x 2 picture; the float TIFFs are written byte by byte. Expected rows are sRGB's curve
// of the samples, and the tone-mapped ones were worked out once by an independent
// implementation of the curve (Python, double precision) and kept as literals.

#include "support/FileBytes.h"
#include "support/ProfiledFiles.h"
#include "support/ViewerFrames.h"

#include <algorithm>
#include <cmath>

using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

// The fixtures' picture, (0.01, 0.01, 0.01) (0.5, 0.25, 0.125) (1, 1, 1) (0.2, 0.6, 0.9) over
// (0, 0, 0) (0.75, 0.05, 0.4) (0.03, 0.3, 0.003) (0.9, 0.9, 0.1), in sRGB; the grey ones
// hold the green samples. Wine's decoder hands over alpha 0 throughout where the RGBA
// files hold 1: such a frame is opaque.
const std::vector<int> fixtureRgb = {25, 25, 25, 188, 137, 99, 255, 255, 255, 124, 203, 243,
                                     0, 0, 0, 225, 63, 170, 48, 149, 10, 243, 243, 89};
const std::vector<int> fixtureGrey = {25, 25, 25, 137, 137, 137, 255, 255, 255, 203, 203, 203,
                                      0, 0, 0, 63, 63, 63, 149, 149, 149, 243, 243, 243};

template <const wchar_t* name>
std::string Fixture()
{
    return FixtureBytes(name);
}

constexpr wchar_t rgbFixed16[] = L"48bppRGBFixedPoint.jxr";
constexpr wchar_t rgbHalf[] = L"48bppRGBHalf.jxr";
constexpr wchar_t rgbFixed32[] = L"96bppRGBFixedPoint.jxr";
constexpr wchar_t rgbe[] = L"32bppRGBE.jxr";
constexpr wchar_t rgbFloat[] = L"128bppRGBFloat.jxr";
constexpr wchar_t rgbaFixed16[] = L"64bppRGBAFixedPoint.jxr";
constexpr wchar_t rgbaHalf[] = L"64bppRGBAHalf.jxr";
constexpr wchar_t rgbaFixed32[] = L"128bppRGBAFixedPoint.jxr";
constexpr wchar_t rgbaFloat[] = L"128bppRGBAFloat.jxr";
constexpr wchar_t greyFixed16[] = L"16bppGrayFixedPoint.jxr";
constexpr wchar_t greyHalf[] = L"16bppGrayHalf.jxr";
constexpr wchar_t greyFixed32[] = L"32bppGrayFixedPoint.jxr";
constexpr wchar_t greyFloat[] = L"32bppGrayFloat.jxr";

std::string RgbTiff(const std::vector<float>& samples)
{
    return FloatTiff(static_cast<unsigned int>(samples.size() / 3), TiffColour::Rgb, TiffAlpha::None, samples);
}

// Above SDR white: L = 2 (the largest channel of the brightest pixel).
std::string Highlight()
{
    return RgbTiff({2.0f, 0.5f, 0.1f, 0.2f, 0.05f, 0.01f});
}

// 9998 pixels at 2, one at 0.5, and a stray one at 1000 above the 99.99th percentile: L
// is 2, so 2 is white (at L = 1000 it would be 204).
std::string StrayPixel()
{
    std::vector<float> samples(10000, 2.0f);
    samples[0] = 0.5f;
    samples[1] = 1000.0f;
    return FloatTiff(100, TiffColour::Grey, TiffAlpha::None, samples);
}

std::vector<int> StrayPixelRows()
{
    std::vector<int> rows(30000, 255);
    std::fill_n(rows.begin(), 3, 188);
    return rows;
}

const ViewerCase scrgbCases[] = {
    {{"JpegXr48bppRGBFixedPoint"}, Fixture<rgbFixed16>, {fixtureRgb}, nullptr, 1},
    {{"JpegXr48bppRGBHalf"}, Fixture<rgbHalf>, {fixtureRgb}, nullptr, 1},
    {{"JpegXr96bppRGBFixedPoint"}, Fixture<rgbFixed32>, {fixtureRgb}, nullptr, 1},
    // RGBE keeps 8 bits below each pixel's largest channel: m x 2^(E - 136).
    {{"JpegXr32bppRGBE"},
     Fixture<rgbe>,
     {{25, 25, 25, 188, 137, 99, 255, 255, 255, 123, 203, 243, 0, 0, 0, 225, 61, 169, 48, 149, 6, 243, 243, 88}},
     nullptr,
     1},
    // JxrEncApp stored three of these pixels with red's value in every channel (JxrDecApp
    // reads the file so too).
    {{"JpegXr128bppRGBFloat"},
     Fixture<rgbFloat>,
     {{25, 25, 25, 188, 188, 188, 255, 255, 255, 124, 203, 243, 0, 0, 0, 225, 225, 225, 48, 149, 48, 243, 243, 89}},
     nullptr,
     1},
    {{"JpegXr64bppRGBAFixedPoint"}, Fixture<rgbaFixed16>, {fixtureRgb}, nullptr, 1},
    {{"JpegXr64bppRGBAHalf"}, Fixture<rgbaHalf>, {fixtureRgb}, nullptr, 1},
    {{"JpegXr128bppRGBAFixedPoint"}, Fixture<rgbaFixed32>, {fixtureRgb}, nullptr, 1},
    {{"JpegXr128bppRGBAFloat"}, Fixture<rgbaFloat>, {fixtureRgb}, nullptr, 1},
    {{"JpegXr16bppGrayFixedPoint"}, Fixture<greyFixed16>, {fixtureGrey}, nullptr, 1},
    {{"JpegXr16bppGrayHalf"}, Fixture<greyHalf>, {fixtureGrey}, nullptr, 1},
    {{"JpegXr32bppGrayFixedPoint"}, Fixture<greyFixed32>, {fixtureGrey}, nullptr, 1},
    {{"JpegXr32bppGrayFloat"}, Fixture<greyFloat>, {fixtureGrey}, nullptr, 1},
    // Exact: sRGB's curve of each sample, negatives to 0, on both sides of its linear piece.
    {{"TiffFloatSdrExact"},
     [] { return RgbTiff({-1.0f, 0.0031308f, 0.5f, 0.002f, 0.2f, 1.0f}); },
     {{0, 10, 188, 7, 124, 255}}},
    {{"TiffFloatGrey"},
     [] { return FloatTiff(2, TiffColour::Grey, TiffAlpha::None, {0.01f, 0.25f}); },
     {{25, 25, 25, 137, 137, 137}}},
    // Straight alpha 0.5 (128) over white and over black.
    {{"TiffFloatAlphaOverWhite"},
     [] { return FloatTiff(1, TiffColour::Rgb, TiffAlpha::Unassociated, {1.0f, 0.5f, 0.0f, 0.5f}); },
     {{255, 221, 127}}},
    {{"TiffFloatAlphaOverBlack"},
     [] { return FloatTiff(1, TiffColour::Rgb, TiffAlpha::Unassociated, {1.0f, 0.5f, 0.0f, 0.5f}); },
     {{128, 94, 0}},
     L"[Frames]\r\nbackground=000000\r\n"},
    // Stored R G B over Y C M, turned clockwise by its tag.
    {{"TiffFloatTurned"},
     [] {
         return FloatTiff(3, TiffColour::Rgb, TiffAlpha::None,
                          {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1}, TiffOrientation{6});
     },
     {{255, 255, 0, 255, 0, 0, 0, 255, 255, 0, 255, 0, 255, 0, 255, 0, 0, 255}}},
    // Tone mapped from L = 8: saturated highlights keep their channel order, dark colours stay.
    {{"ToneMapKeepsChannelOrder"},
     [] { return RgbTiff({8.0f, 2.0f, 0.5f, 3.0f, 0.2f, 0.1f, 0.05f, 0.1f, 0.02f}); },
     {{255, 251, 250, 255, 194, 192, 63, 89, 39}},
     nullptr,
     1},
    {{"ToneMapIgnoresAStrayPixel"}, StrayPixel, {StrayPixelRows()}, nullptr, 1},
    {{"ClipBySettings"}, Highlight, {{255, 188, 89, 124, 63, 25}}, L"[Frames]\r\nhdr=CLIP\r\n"},
    {{"ToneMapWithOtherSettings"}, Highlight, {{255, 221, 211, 124, 63, 25}}, L"[Frames]\r\nhdr=tonemap\r\n", 1},
};

using ScrgbTest = testing::TestWithParam<ViewerCase>;

TEST_P(ScrgbTest, FrameIsThePictureAViewerShows)
{
    ExpectViewerFrames(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, ScrgbTest, testing::ValuesIn(scrgbCases), CaseName());

int SrgbLevel(double linear)
{
    const double encoded = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return static_cast<int>(std::lround(255 * std::min(encoded, 1.0)));
}

// A grey luminance ramp from 0 to 16, dense in the dark: monotonic, unchanged up to 0.2,
// white at its top, and its highlights (1 to 16) in many distinct levels, not one flat white.
TEST(ScrgbToneMap, LuminanceRampToSixteen)
{
    std::vector<float> ramp;
    for (int step = 0; step < 128; ++step)
    {
        ramp.push_back(static_cast<float>(16 * std::pow(step / 127.0, 3)));
    }
    const ScratchFolder folder;
    const std::wstring path = folder.Write(L"ramp.tif", FloatTiff(128, TiffColour::Grey, TiffAlpha::None, ramp));
    PluginCopy plugin;
    const ComApartment com(COINIT_APARTMENTTHREADED); // as a host's thread has it
    const ImageDataCall call(plugin.Load(), AnsiPath(path), 0);
    ASSERT_EQ(call.result, 0);
    const std::string bytes = call.Bytes();
    ASSERT_EQ(bytes.size(), 128u * 3);
    std::vector<int> highlights;
    for (std::size_t at = 0; at < ramp.size(); ++at)
    {
        const int level = static_cast<unsigned char>(bytes[at * 3]);
        if (at > 0)
        {
            EXPECT_GE(level, static_cast<unsigned char>(bytes[at * 3 - 3])) << "pixel " << at;
        }
        if (ramp[at] <= 0.2f)
        {
            EXPECT_EQ(level, SrgbLevel(ramp[at])) << "pixel " << at;
        }
        if (ramp[at] >= 1.0f && std::find(highlights.begin(), highlights.end(), level) == highlights.end())
        {
            highlights.push_back(level);
        }
    }
    EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 255);
    EXPECT_GE(highlights.size(), 30u);
}

} // namespace
