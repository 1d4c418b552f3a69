#pragma once

#include <optional>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// TIFF files written byte by byte (baseline TIFF 6.0, little-endian), so that whoever makes
// one controls what WIC's encoder never writes: each page's Orientation tag (274), with any
// value and stored as a SHORT, as TIFF defines it, or as a LONG, as some writers store it.

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

// One page: 8-bit RGB, uncompressed, in one strip.
struct TiffPage
{
    unsigned int width = 0;
    unsigned int height = 0;
    std::string rgb; // rows from top to bottom, each pixel R, G, B, no padding
    std::optional<TiffOrientation> orientation; // none: the page has no Orientation tag
};

// The file's bytes: the pages in order, each one image file directory.
std::string EncodeTiff(const std::vector<TiffPage>& pages);

} // namespace Tesmo::PluginHost
