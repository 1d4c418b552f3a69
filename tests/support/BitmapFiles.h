#pragma once

#include "support/Pictures.h"

#include <string>
#include <vector>

namespace Tesmo::Tests
{

// BMP, ICO, TGA and DDS files written byte by byte, so that a test controls every header
// field.
std::string Bmp24(const Picture& picture);
// BI_RGB 32-bit: the fourth byte of each pixel is unused; it holds the alpha value anyway.
std::string Bmp32(const Picture& picture);
// BITMAPV4HEADER with BI_BITFIELDS and an alpha mask: the fourth byte is alpha.
std::string Bmp32WithAlpha(const Picture& picture);
std::string Bmp8(const IndexedPicture& picture);
// A 24-bit BMP header claiming the given size, with no pixel data after it.
std::string Bmp24HeaderOnly(int width, int height);

struct IconImage
{
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int bitCount = 0;
    std::string data; // a DIB (below) or a whole PNG file
};
// A DIB as icons hold it: BITMAPINFOHEADER with the height doubled, the colour rows, then
// the 1-bit AND mask (set where alpha is 0, or clear throughout, as writers that leave
// alpha 0 make it).
std::string IconDib(const Picture& picture, unsigned int bitCount, bool maskFromAlpha = true);
std::string Ico(const std::vector<IconImage>& images);

// Uncompressed true-colour Targa, 24 bits, rows bottom-up.
std::string Tga24(const Picture& picture);
// Uncompressed DirectDraw surface, 32-bit BGRA, one level, rows top-down.
std::string Dds32(const Picture& picture);

} // namespace Tesmo::Tests
