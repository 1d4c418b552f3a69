#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// TIFF files written byte by byte (baseline TIFF 6.0, little-endian), so that whoever makes
// one controls what WIC's encoder never writes: each page's Orientation tag (274), with any
// value and stored as a SHORT, as TIFF defines it, or as a LONG, as some writers store it;
// grey, palette, RGB and CMYK pages at the bit depths TIFF has, floating-point samples,
// alpha premultiplied or not, and an embedded ICC profile.

struct TiffOrientation
{
    enum class Type
    {
        Short, // TIFF type 3, as TIFF 6.0 defines the tag
        Long,  // TIFF type 4
    };
    unsigned int value = 1;
    Type type = Type::Short;
};

// What the samples are, as the page's PhotometricInterpretation tag (262) says.
enum class TiffColour : unsigned int
{
    Grey = 1,    // BlackIsZero
    Rgb = 2,
    Palette = 3, // one index a pixel into the colour map
    Cmyk = 5,    // Separated: cyan, magenta, yellow, black ink
};

// An alpha sample after the colour samples, as the page's ExtraSamples tag (338) says.
enum class TiffAlpha : unsigned int
{
    None = 0,         // no extra sample, no tag
    Associated = 1,   // colour premultiplied by alpha
    Unassociated = 2, // colour as it is
};

// How the samples are numbers, as the page's SampleFormat tag (339) says.
enum class TiffSampleFormat : unsigned int
{
    Unsigned = 1, // no tag: TIFF's default
    Float = 3,    // IEEE floating point (32 bits a sample: binary32)
};

// One page, uncompressed, in one strip; by default 8-bit RGB.
struct TiffPage
{
    unsigned int width = 0;
    unsigned int height = 0;
    // Rows from top to bottom, each pixel's samples in order (alpha last), as TIFF stores
    // them: 16-bit samples least significant byte first (the file is 'II'), samples under 8
    // bits packed from the most significant bit, each row starting on a byte.
    std::string samples{};
    std::optional<TiffOrientation> orientation{}; // none: the page has no Orientation tag
    TiffColour colour = TiffColour::Rgb;
    unsigned int bitsPerSample = 8; // 1, 2, 4, 8 or 16, the same for every sample
    TiffAlpha alpha = TiffAlpha::None;
    // Palette pages: ColorMap (320), 3 x 2^bitsPerSample values from 0 to 65535, every red
    // first, then every green, then every blue.
    std::vector<std::uint16_t> colourMap{};
    std::string iccProfile{}; // the profile's bytes for tag 34675; empty: no such tag
    TiffSampleFormat sampleFormat = TiffSampleFormat::Unsigned;
};

// The file's bytes: the pages in order, each one image file directory. Throws
// std::invalid_argument for samples that do not fill the page exactly, or a palette page
// whose colour map is not the size its bit depth needs.
std::string EncodeTiff(const std::vector<TiffPage>& pages);

} // namespace Tesmo::PluginHost
