#include "ColourSample.h"

#include "Scene.h"
#include "hosting/IccProfileBuilders.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace Tesmo::SampleMaker
{

namespace
{

using PluginHost::Xyz;

// The inverse of ProPhoto's tone curve (IccToneCurve::Parametric(3, ...) in
// ProPhotoSpace): linear light to the stored value.
double ProPhotoEncode(double linear)
{
    return linear < 1.0 / 512.0 ? 16.0 * linear : std::pow(linear, 1.0 / 1.8);
}

// D50 XYZ to ProPhoto's linear RGB, by the same adapted colorants the profile stores, so
// that what the page's numbers mean through the profile is the sRGB colour they came from.
PluginHost::Matrix3 XyzD50ToProPhotoLinear()
{
    const PluginHost::RgbColorants colorants = PluginHost::D50Colorants(PluginHost::ProPhotoSpace());
    const PluginHost::Matrix3 toXyz{{{colorants.red.x, colorants.green.x, colorants.blue.x},
                                     {colorants.red.y, colorants.green.y, colorants.blue.y},
                                     {colorants.red.z, colorants.green.z, colorants.blue.z}}};
    return PluginHost::Inverse(toXyz);
}

using Rgb16 = std::array<std::uint16_t, 3>;

Rgb16 InProPhoto(PluginHost::GifColour colour, const PluginHost::Matrix3& fromXyz)
{
    const PluginHost::Rgb srgb{(colour >> 16 & 0xFF) / 255.0, (colour >> 8 & 0xFF) / 255.0, (colour & 0xFF) / 255.0};
    const Xyz linear = PluginHost::Apply(fromXyz, PluginHost::SrgbToXyzD50(srgb));
    const auto encode = [](double value)
    { return static_cast<std::uint16_t>(std::lround(ProPhotoEncode(std::clamp(value, 0.0, 1.0)) * 65535.0)); };
    return {encode(linear.x), encode(linear.y), encode(linear.z)};
}

PluginHost::TiffPage SrgbPage(const Indices& scene)
{
    PluginHost::TiffPage page{scene.width, scene.height};
    for (const unsigned char index : scene.at)
    {
        const PluginHost::GifColour colour = palette[index];
        page.samples += {static_cast<char>(colour >> 16 & 0xFF), static_cast<char>(colour >> 8 & 0xFF),
                         static_cast<char>(colour & 0xFF)};
    }
    return page;
}

PluginHost::TiffPage ProPhotoPage(const Indices& scene)
{
    // Each palette colour converted once; the page is indices into the converted colours.
    const PluginHost::Matrix3 fromXyz = XyzD50ToProPhotoLinear();
    std::vector<Rgb16> converted;
    for (const PluginHost::GifColour colour : palette)
    {
        converted.push_back(InProPhoto(colour, fromXyz));
    }
    PluginHost::TiffPage page{scene.width, scene.height};
    page.bitsPerSample = 16;
    page.iccProfile = PluginHost::EncodeIccProfile(PluginHost::MatrixProfile(PluginHost::ProPhotoSpace()));
    for (const unsigned char index : scene.at)
    {
        for (const std::uint16_t sample : converted[index])
        {
            // Least significant byte first: the encoder writes an 'II' file.
            page.samples += {static_cast<char>(sample & 0xFF), static_cast<char>(sample >> 8)};
        }
    }
    return page;
}

} // namespace

std::vector<PluginHost::TiffPage> ColourPages()
{
    const Indices scene = Scene();
    return {SrgbPage(scene), ProPhotoPage(scene)};
}

} // namespace Tesmo::SampleMaker
