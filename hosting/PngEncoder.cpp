#include "hosting/PngEncoder.h"

#include "hosting/BigEndian.h"
#include "hosting/Checksums.h"

#include <algorithm>
#include <stdexcept>

namespace Tesmo::PluginHost
{

namespace
{

struct PngLayout
{
    PngColourType colourType;
    unsigned int samplesPerPixel;
    unsigned int bitDepths; // bit n set: depth n allowed
};

constexpr unsigned int depth1To16 = 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8 | 1u << 16;
constexpr unsigned int depth1To8 = 1u << 1 | 1u << 2 | 1u << 4 | 1u << 8;
constexpr unsigned int depth8And16 = 1u << 8 | 1u << 16;

constexpr PngLayout pngLayouts[] = {
    {PngColourType::Grey, 1, depth1To16},     {PngColourType::Rgb, 3, depth8And16},
    {PngColourType::Palette, 1, depth1To8},   {PngColourType::GreyAlpha, 2, depth8And16},
    {PngColourType::Rgba, 4, depth8And16},
};

std::size_t PngRowBytes(const PngImage& image)
{
    const auto layout = std::find_if(std::begin(pngLayouts), std::end(pngLayouts),
                                     [&](const PngLayout& entry) { return entry.colourType == image.colourType; });
    if (layout == std::end(pngLayouts) || image.bitDepth > 16 || (layout->bitDepths >> image.bitDepth & 1) == 0)
    {
        throw std::invalid_argument("PNG has no such colour type and bit depth");
    }
    return (std::size_t{image.width} * layout->samplesPerPixel * image.bitDepth + 7) / 8;
}

void PutChunk(std::string& out, const char (&type)[5], const std::string& contents)
{
    if (contents.size() > 0x7FFFFFFFu)
    {
        throw std::length_error("a PNG chunk holds less than 2 GB");
    }
    BigEndian::Put32(out, static_cast<std::uint32_t>(contents.size()));
    const std::size_t typeAt = out.size();
    out += std::string_view(type, 4);
    out += contents;
    BigEndian::Put32(out, Crc32(std::string_view(out).substr(typeAt)));
}

// A zlib stream of stored deflate blocks: the bytes as they are, 65535 at most a block.
std::string ZlibStored(const std::string& bytes)
{
    std::string out = "\x78\x01"; // deflate, 32 KB window, no dictionary; header check fits
    std::size_t at = 0;
    do
    {
        const std::size_t length = std::min<std::size_t>(65535, bytes.size() - at);
        const bool last = at + length == bytes.size();
        out += static_cast<char>(last ? 1 : 0); // final flag, block type 0 (stored)
        out += {static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)};
        out += {static_cast<char>(~length & 0xFF), static_cast<char>(~length >> 8 & 0xFF)};
        out.append(bytes, at, length);
        at += length;
    } while (at < bytes.size());
    BigEndian::Put32(out, Adler32(bytes));
    return out;
}

} // namespace

std::string EncodePng(const PngImage& image)
{
    const std::size_t rowBytes = PngRowBytes(image);
    if (image.samples.size() != rowBytes * image.height)
    {
        throw std::invalid_argument("PNG samples need height rows of the bytes the width takes");
    }
    std::string out = "\x89PNG\r\n\x1A\n";

    std::string header;
    BigEndian::Put32(header, image.width);
    BigEndian::Put32(header, image.height);
    header += {static_cast<char>(image.bitDepth), static_cast<char>(image.colourType)};
    header += std::string(3, '\0'); // deflate, adaptive filtering, not interlaced
    PutChunk(out, "IHDR", header);

    if (image.gamma)
    {
        std::string gamma;
        BigEndian::Put32(gamma, *image.gamma);
        PutChunk(out, "gAMA", gamma);
    }
    if (image.chromaticities)
    {
        std::string chromaticities;
        for (const unsigned int value : *image.chromaticities)
        {
            BigEndian::Put32(chromaticities, value);
        }
        PutChunk(out, "cHRM", chromaticities);
    }
    if (image.srgbIntent)
    {
        PutChunk(out, "sRGB", std::string(1, static_cast<char>(*image.srgbIntent)));
    }
    if (image.profile)
    {
        PutChunk(out, "iCCP", image.profile->name + '\0' + '\0' + ZlibStored(image.profile->bytes));
    }
    if (!image.palette.empty())
    {
        PutChunk(out, "PLTE", image.palette);
    }
    if (!image.transparency.empty())
    {
        PutChunk(out, "tRNS", image.transparency);
    }

    std::string filtered;
    filtered.reserve((rowBytes + 1) * image.height);
    for (std::size_t row = 0; row < image.height; ++row)
    {
        filtered += '\0'; // filter type 0: the row as it is
        filtered.append(image.samples, row * rowBytes, rowBytes);
    }
    PutChunk(out, "IDAT", ZlibStored(filtered));
    PutChunk(out, "IEND", "");
    return out;
}

} // namespace Tesmo::PluginHost
