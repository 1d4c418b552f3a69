#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// GIF files written byte by byte (GIF89a), so that whoever makes one controls what WIC's
// encoder never writes: a logical screen larger than the images, images at an offset,
// each image's disposal and transparent index, local colour tables, interlacing, and
// colour tables or indices that a viewer must cope with.

// A colour as 0xRRGGBB.
using GifColour = std::uint32_t;

// The graphic control extension before an image.
struct GifControl
{
    unsigned int disposal = 0; // 0 to 7; 2 restores the background, 3 the canvas before
    bool transparent = false;
    unsigned char transparentIndex = 0;
    unsigned short delay = 10; // hundredths of a second
};

// One image block: its rectangle on the logical screen and its indices in rows from top
// to bottom (width x height of them).
struct GifImage
{
    unsigned int left = 0;
    unsigned int top = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    std::vector<unsigned char> indices;
    std::optional<GifControl> control;  // none: no graphic control extension at all
    std::vector<GifColour> localColours; // empty: the image uses the global table
    bool interlaced = false;
};

struct GifToEncode
{
    unsigned int width = 0; // the logical screen
    unsigned int height = 0;
    std::vector<GifColour> globalColours; // empty: the file has no global table
    unsigned char backgroundIndex = 0;
    std::vector<GifImage> images;
};

// The file's bytes. A colour table is padded with black to the power of two the format
// needs (2 to 256 entries); indices are LZW-compressed at the smallest code size that
// holds the largest table. An animation of two images or more loops for ever.
std::string EncodeGif(const GifToEncode& gif);

} // namespace Tesmo::PluginHost
