#include "support/BitmapFiles.h"

#include <initializer_list>
#include <utility>

namespace Tesmo::Tests
{

namespace
{

// Header fields as { value, size in bytes }, appended little-endian.
using HeaderFields = std::initializer_list<std::pair<unsigned int, unsigned int>>;

void Put(std::string& bytes, HeaderFields fields)
{
    for (const auto& [value, size] : fields)
    {
        for (unsigned int i = 0; i < size; ++i)
        {
            bytes.push_back(static_cast<char>(value >> 8 * i));
        }
    }
}

// BITMAPINFOHEADER: size, width, height, planes, bit count, BI_RGB, image size, 72 dpi
// across and down, colours used, colours important.
std::string InfoHeader(int width, int height, unsigned int bitCount, std::size_t imageBytes, std::size_t coloursUsed)
{
    std::string bytes;
    Put(bytes, {{40, 4}, {width, 4}, {height, 4}, {1, 2}, {bitCount, 2}, {0, 4}, {imageBytes, 4}, {2835, 4},
                {2835, 4}, {coloursUsed, 4}, {0, 4}});
    return bytes;
}

// BITMAPFILEHEADER + BITMAPINFOHEADER + palette + rows (already bottom-up and padded).
std::string BmpFile(int width, int height, unsigned int bitCount, const std::vector<Rgba>& palette,
                    const std::string& rows)
{
    const std::size_t offset = 14 + 40 + palette.size() * 4;
    std::string bytes = "BM";
    Put(bytes, {{offset + rows.size(), 4}, {0, 4}, {offset, 4}});
    bytes += InfoHeader(width, height, bitCount, rows.size(), palette.size());
    for (const Rgba& colour : palette)
    {
        bytes += {static_cast<char>(colour.b), static_cast<char>(colour.g), static_cast<char>(colour.r), '\0'};
    }
    return bytes + rows;
}

// Rows bottom-up, each padded to 4 bytes, as BMP files and icon DIBs hold them; rowAt(y)
// gives row y's bytes without the padding.
template <class RowAt>
std::string BottomUpRows(unsigned int width, unsigned int height, unsigned int bitCount, RowAt rowAt)
{
    std::string rows;
    for (unsigned int y = height; y-- > 0;)
    {
        std::string row = rowAt(y);
        row.resize((width * bitCount + 31) / 32 * 4, '\0');
        rows += row;
    }
    return rows;
}

// B, G, R and, with alpha, the alpha value of each pixel of row y.
std::string PixelRow(const Picture& picture, unsigned int y, bool withAlpha)
{
    std::string row;
    for (unsigned int x = 0; x < picture.width; ++x)
    {
        const Rgba& p = picture.At(x, y);
        row += {static_cast<char>(p.b), static_cast<char>(p.g), static_cast<char>(p.r)};
        if (withAlpha)
        {
            row.push_back(static_cast<char>(p.a));
        }
    }
    return row;
}

// Alpha only at 32 bits.
std::string ColourRows(const Picture& picture, unsigned int bitCount)
{
    return BottomUpRows(picture.width, picture.height, bitCount,
                        [&](unsigned int y) { return PixelRow(picture, y, bitCount == 32); });
}

// Rows unpadded, in the order the format keeps them.
std::string UnpaddedRows(const Picture& picture, bool bottomUp, bool withAlpha)
{
    std::string rows;
    for (unsigned int row = 0; row < picture.height; ++row)
    {
        rows += PixelRow(picture, bottomUp ? picture.height - 1 - row : row, withAlpha);
    }
    return rows;
}

std::string BmpOf(const Picture& picture, unsigned int bitCount)
{
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), bitCount, {},
                   ColourRows(picture, bitCount));
}

} // namespace

std::string Bmp24(const Picture& picture)
{
    return BmpOf(picture, 24);
}

std::string Bmp32(const Picture& picture)
{
    return BmpOf(picture, 32);
}

std::string Bmp8(const IndexedPicture& picture)
{
    const std::string rows = BottomUpRows(picture.width, picture.height, 8, [&](unsigned int y) {
        return std::string(picture.indices.begin() + y * picture.width,
                           picture.indices.begin() + (y + 1) * picture.width);
    });
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), 8, picture.palette, rows);
}

std::string Bmp24HeaderOnly(int width, int height)
{
    return BmpFile(width, height, 24, {}, "");
}

std::string IconDib(const Picture& picture, unsigned int bitCount, bool maskFromAlpha)
{
    const std::string mask = BottomUpRows(picture.width, picture.height, 1, [&](unsigned int y) {
        std::string row((picture.width + 7) / 8, '\0');
        for (unsigned int x = 0; x < picture.width; ++x)
        {
            if (maskFromAlpha && picture.At(x, y).a == 0)
            {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        return row;
    });
    const std::string colours = ColourRows(picture, bitCount);
    return InfoHeader(static_cast<int>(picture.width), static_cast<int>(picture.height * 2), bitCount,
                      colours.size() + mask.size(), 0) +
           colours + mask;
}

std::string Bmp32WithAlpha(const Picture& picture)
{
    const std::string rows = UnpaddedRows(picture, true, true);
    const std::size_t offset = 14 + 108;
    std::string bytes = "BM";
    Put(bytes, {{offset + rows.size(), 4}, {0, 4}, {offset, 4}});
    Put(bytes, {{108, 4}, {picture.width, 4}, {picture.height, 4}, {1, 2}, {32, 2}, {3, 4} /* BI_BITFIELDS */,
                {rows.size(), 4}, {2835, 4}, {2835, 4}, {0, 4}, {0, 4}, {0x00FF0000, 4}, {0x0000FF00, 4},
                {0x000000FF, 4}, {0xFF000000, 4} /* red, green, blue, alpha masks */, {0x73524742, 4} /* sRGB */});
    bytes.append(48, '\0'); // end points and gammas, unused for sRGB
    return bytes + rows;
}

std::string Ico(const std::vector<IconImage>& images)
{
    std::string bytes;
    Put(bytes, {{0, 2}, {1, 2} /* icon */, {images.size(), 2}});
    std::size_t offset = 6 + 16 * images.size();
    for (const IconImage& image : images)
    {
        // Width and height 0 mean 256; no palette.
        Put(bytes, {{image.width, 1}, {image.height, 1}, {0, 1}, {0, 1}, {1, 2}, {image.bitCount, 2},
                    {image.data.size(), 4}, {offset, 4}});
        offset += image.data.size();
    }
    for (const IconImage& image : images)
    {
        bytes += image.data;
    }
    return bytes;
}

std::string Tga24(const Picture& picture)
{
    std::string bytes;
    Put(bytes, {{0, 1} /* no image id */, {0, 1} /* no colour map */, {2, 1} /* uncompressed true colour */,
                {0, 2}, {0, 2}, {0, 1} /* colour map spec */, {0, 2}, {0, 2} /* origin */, {picture.width, 2},
                {picture.height, 2}, {24, 1} /* bits */, {0, 1} /* bottom-up, no alpha bits */});
    return bytes + UnpaddedRows(picture, true, false);
}

std::string Dds32(const Picture& picture)
{
    std::string bytes = "DDS ";
    // DDS_HEADER: size, flags (caps, height, width, pixel format, pitch), height, width,
    // pitch, depth, mipmap count, 11 reserved.
    Put(bytes, {{124, 4}, {0x100F, 4}, {picture.height, 4}, {picture.width, 4}, {picture.width * 4, 4}, {0, 4},
                {1, 4}});
    bytes.append(44, '\0');
    // DDS_PIXELFORMAT: size, flags (RGB with alpha), no FourCC, 32 bits, R, G, B, A masks.
    Put(bytes, {{32, 4}, {0x41, 4}, {0, 4}, {32, 4}, {0x00FF0000, 4}, {0x0000FF00, 4}, {0x000000FF, 4},
                {0xFF000000, 4}});
    // Caps (texture), caps 2-4, reserved.
    Put(bytes, {{0x1000, 4}, {0, 4}, {0, 4}, {0, 4}, {0, 4}});
    return bytes + UnpaddedRows(picture, false, true);
}

} // namespace Tesmo::Tests
