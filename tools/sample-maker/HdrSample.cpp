#include "HdrSample.h"

#include "Scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace Tesmo::SampleMaker
{

namespace
{

constexpr double sdrWhite = 2.5;
constexpr double sunPeak = 12.5;
// The sun's centre and radius in pixels, as Scene() draws it (in half pixels there).
constexpr double sunX = 40.0;
constexpr double sunY = 7.0;
constexpr double sunRadius = 4.5;
constexpr double glowRadius = 14.0;

double Linear(unsigned int encoded)
{
    const double value = encoded / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

std::array<double, 3> LinearColour(PluginHost::GifColour colour)
{
    return {Linear(colour >> 16 & 0xFF), Linear(colour >> 8 & 0xFF), Linear(colour & 0xFF)};
}

// How much brighter than SDR content a pixel is: the sun from 2 times at its rim to
// sunPeak / sdrWhite at its centre, the sky around it up to 2 times near the sun.
double Brightening(Colour colour, double distance)
{
    if (colour == sun)
    {
        const double inside = 1.0 - std::min(distance / sunRadius, 1.0);
        return 2.0 + (sunPeak / sdrWhite - 2.0) * inside * inside;
    }
    if (colour == sky)
    {
        return 1.0 + std::max(0.0, 1.0 - distance / glowRadius);
    }
    return 1.0;
}

void PutFloat(std::string& samples, double value)
{
    const float sample = static_cast<float>(value);
    char bytes[4];
    std::memcpy(bytes, &sample, sizeof bytes); // least significant byte first, as the 'II' file is
    samples.append(bytes, sizeof bytes);
}

} // namespace

PluginHost::TiffPage HdrScene()
{
    const Indices scene = Scene();
    PluginHost::TiffPage page{scene.width, scene.height};
    page.bitsPerSample = 32;
    page.alpha = PluginHost::TiffAlpha::Unassociated;
    page.sampleFormat = PluginHost::TiffSampleFormat::Float;
    for (unsigned int y = 0; y < scene.height; ++y)
    {
        for (unsigned int x = 0; x < scene.width; ++x)
        {
            const auto colour = static_cast<Colour>(scene.at[y * scene.width + x]);
            const double distance = std::hypot(x + 0.5 - sunX, y + 0.5 - sunY);
            const double scale = sdrWhite * Brightening(colour, distance);
            for (const double channel : LinearColour(palette[colour]))
            {
                PutFloat(page.samples, channel * scale);
            }
            PutFloat(page.samples, 1.0);
        }
    }
    return page;
}

} // namespace Tesmo::SampleMaker
