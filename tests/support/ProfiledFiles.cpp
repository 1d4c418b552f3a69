#include "support/ProfiledFiles.h"

#include <cstring>
#include <stdexcept>

using namespace Tesmo::PluginHost;

namespace Tesmo::Tests
{

namespace
{

unsigned int SamplesPerPixel(PngColourType type)
{
    switch (type)
    {
    case PngColourType::Rgb:
        return 3;
    case PngColourType::GreyAlpha:
        return 2;
    case PngColourType::Rgba:
        return 4;
    default:
        return 1;
    }
}

unsigned int SamplesPerPixel(TiffColour colour, TiffAlpha alpha, std::size_t samples)
{
    const unsigned int perPixel =
        (colour == TiffColour::Cmyk ? 4 : colour == TiffColour::Rgb ? 3 : 1) + (alpha == TiffAlpha::None ? 0 : 1);
    if (samples % perPixel != 0)
    {
        throw std::invalid_argument("a row of whole pixels");
    }
    return perPixel;
}

} // namespace

std::string ProfileBytes(const IccProfileToEncode& profile)
{
    return EncodeIccProfile(profile);
}

std::string SwappedRedAndGreenProfile()
{
    RgbColorants colorants = D50Colorants(SrgbSpace());
    std::swap(colorants.red, colorants.green);
    return ProfileBytes(MatrixProfile("Swapped red and green", colorants, IccToneCurve::Srgb()));
}

std::string LinearRgbProfile()
{
    return ProfileBytes(MatrixProfile("Linear sRGB", D50Colorants(SrgbSpace()), IccToneCurve::Gamma(1.0)));
}

std::string LinearGreyProfile()
{
    return ProfileBytes(GreyProfile("Linear grey", IccToneCurve::Gamma(1.0)));
}

PngImage RowImage(PngColourType type, unsigned int bitDepth, const std::vector<unsigned int>& samples,
                  const std::string& profile)
{
    PngImage image;
    image.width = static_cast<unsigned int>(samples.size() / SamplesPerPixel(type));
    image.height = 1;
    image.colourType = type;
    image.bitDepth = bitDepth;
    for (const unsigned int sample : samples)
    {
        if (bitDepth == 16)
        {
            image.samples += static_cast<char>(sample >> 8);
        }
        image.samples += static_cast<char>(sample & 0xFF);
    }
    if (!profile.empty())
    {
        image.profile = PngProfile{"ICC profile", profile};
    }
    return image;
}

std::string PngRow(PngColourType type, unsigned int bitDepth, const std::vector<unsigned int>& samples,
                   const std::string& profile)
{
    return EncodePng(RowImage(type, bitDepth, samples, profile));
}

std::string TiffRow(TiffColour colour, TiffAlpha alpha, const std::vector<unsigned int>& samples,
                    const std::string& profile, unsigned int bitDepth)
{
    const unsigned int perPixel = SamplesPerPixel(colour, alpha, samples.size());
    TiffPage page;
    page.width = static_cast<unsigned int>(samples.size() / perPixel);
    page.height = 1;
    page.colour = colour;
    page.alpha = alpha;
    page.iccProfile = profile;
    page.bitsPerSample = bitDepth;
    for (const unsigned int sample : samples)
    {
        page.samples += static_cast<char>(sample & 0xFF);
        if (bitDepth == 16)
        {
            page.samples += static_cast<char>(sample >> 8); // the file is little-endian
        }
    }
    return EncodeTiff({page});
}

std::string FloatTiff(unsigned int width, TiffColour colour, TiffAlpha alpha, const std::vector<float>& samples,
                      std::optional<TiffOrientation> orientation)
{
    const unsigned int perPixel = SamplesPerPixel(colour, alpha, samples.size());
    TiffPage page{width, static_cast<unsigned int>(samples.size() / perPixel / width), {}, orientation, colour, 32, alpha};
    page.sampleFormat = TiffSampleFormat::Float;
    for (const float sample : samples)
    {
        char bytes[4];
        std::memcpy(bytes, &sample, 4); // little-endian, as the 'II' file is
        page.samples.append(bytes, 4);
    }
    return EncodeTiff({page});
}

} // namespace Tesmo::Tests
