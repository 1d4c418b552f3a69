#pragma once

#include <array>
#include <optional>
#include <string>

namespace Tesmo::PluginHost
{

// PNG files written byte by byte, so that whoever makes one controls what WIC's encoder
// never writes or decides for itself: every colour type and bit depth, a palette with its
// transparency, an embedded colour profile (iCCP), and the colour chunks a decoder must
// weigh against it (gAMA, cHRM, sRGB). The pixel data is stored, not
// compressed (zlib's stored blocks), each row with filter 0, one IDAT chunk.

enum class PngColourType : unsigned int
{
    Grey = 0,
    Rgb = 2,
    Palette = 3,
    GreyAlpha = 4,
    Rgba = 6,
};

struct PngProfile
{
    std::string name = "ICC profile"; // 1 to 79 Latin-1 characters
    std::string bytes;                // the profile as it is (EncodeIccProfile's)
};

struct PngImage
{
    unsigned int width = 0;
    unsigned int height = 0;
    PngColourType colourType = PngColourType::Rgb;
    unsigned int bitDepth = 8; // as PNG allows for the colour type: 1, 2, 4, 8 or 16
    // Rows from top to bottom exactly as PNG stores them, without the filter byte: 16-bit
    // samples most significant byte first, samples under 8 bits packed from the most
    // significant bit, each row starting on a byte.
    std::string samples{};
    std::string palette{};      // PLTE's contents (R, G, B each entry); empty: no PLTE chunk
    std::string transparency{}; // tRNS's contents as they are; empty: no tRNS chunk
    std::optional<PngProfile> profile{};
    std::optional<unsigned int> gamma{}; // gAMA's value: the gamma times 100000
    // cHRM's values: white x and y, then red's, green's and blue's, each times 100000.
    std::optional<std::array<unsigned int, 8>> chromaticities{};
    std::optional<unsigned char> srgbIntent{}; // an sRGB chunk with this rendering intent
};

// The file's bytes. Throws std::invalid_argument for a bit depth the colour type does not
// have, or samples that are not height rows of the size the width needs. Chunks the caller
// gives are written as given: the writer does not check a palette against the indices.
std::string EncodePng(const PngImage& image);

} // namespace Tesmo::PluginHost
