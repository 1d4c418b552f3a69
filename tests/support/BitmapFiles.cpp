#include "support/BitmapFiles.h"

namespace Tesmo::Tests
{

namespace
{

void Put16(std::string& bytes, unsigned int value)
{
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& bytes, unsigned int value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

unsigned int RowBytes(unsigned int width, unsigned int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// BITMAPINFOHEADER, uncompressed.
void PutInfoHeader(std::string& bytes, int width, int height, unsigned int bitCount, unsigned int imageBytes,
                   unsigned int coloursUsed)
{
    Put32(bytes, 40);
    Put32(bytes, static_cast<unsigned int>(width));
    Put32(bytes, static_cast<unsigned int>(height));
    Put16(bytes, 1);
    Put16(bytes, bitCount);
    Put32(bytes, 0); // BI_RGB
    Put32(bytes, imageBytes);
    Put32(bytes, 2835); // 72 dpi
    Put32(bytes, 2835);
    Put32(bytes, coloursUsed);
    Put32(bytes, 0);
}

// BITMAPFILEHEADER + BITMAPINFOHEADER + palette + rows (already bottom-up and padded).
std::string BmpFile(int width, int height, unsigned int bitCount, const std::vector<Rgba>& palette,
                    const std::string& rows)
{
    const unsigned int offset = 14 + 40 + static_cast<unsigned int>(palette.size()) * 4;
    std::string bytes = "BM";
    Put32(bytes, offset + static_cast<unsigned int>(rows.size()));
    Put32(bytes, 0);
    Put32(bytes, offset);
    PutInfoHeader(bytes, width, height, bitCount, static_cast<unsigned int>(rows.size()),
                  static_cast<unsigned int>(palette.size()));
    for (const Rgba& colour : palette)
    {
        bytes += {static_cast<char>(colour.b), static_cast<char>(colour.g), static_cast<char>(colour.r), '\0'};
    }
    return bytes + rows;
}

// Colour rows bottom-up, each padded to 4 bytes, as BMP files and icon DIBs hold them.
std::string BottomUpRows(const Picture& picture, unsigned int bitCount)
{
    std::string rows;
    for (unsigned int y = picture.height; y-- > 0;)
    {
        std::string row;
        for (unsigned int x = 0; x < picture.width; ++x)
        {
            const Rgba& p = picture.At(x, y);
            row += {static_cast<char>(p.b), static_cast<char>(p.g), static_cast<char>(p.r)};
            if (bitCount == 32)
            {
                row.push_back(static_cast<char>(p.a));
            }
        }
        row.resize(RowBytes(picture.width, bitCount), '\0');
        rows += row;
    }
    return rows;
}

} // namespace

std::string Bmp24(const Picture& picture)
{
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), 24, {},
                   BottomUpRows(picture, 24));
}

std::string Bmp32(const Picture& picture)
{
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), 32, {},
                   BottomUpRows(picture, 32));
}

std::string Bmp8(const IndexedPicture& picture)
{
    std::string rows;
    for (unsigned int y = picture.height; y-- > 0;)
    {
        std::string row(picture.indices.begin() + y * picture.width,
                        picture.indices.begin() + (y + 1) * picture.width);
        row.resize(RowBytes(picture.width, 8), '\0');
        rows += row;
    }
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), 8, picture.palette, rows);
}

std::string Bmp24HeaderOnly(int width, int height)
{
    return BmpFile(width, height, 24, {}, "");
}

std::string IconDib(const Picture& picture, unsigned int bitCount)
{
    std::string mask;
    for (unsigned int y = picture.height; y-- > 0;)
    {
        std::string row(RowBytes(picture.width, 1), '\0');
        for (unsigned int x = 0; x < picture.width; ++x)
        {
            if (picture.At(x, y).a == 0)
            {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        mask += row;
    }
    const std::string colours = BottomUpRows(picture, bitCount);
    std::string bytes;
    PutInfoHeader(bytes, static_cast<int>(picture.width), static_cast<int>(picture.height * 2), bitCount,
                  static_cast<unsigned int>(colours.size() + mask.size()), 0);
    return bytes + colours + mask;
}

std::string Ico(const std::vector<IconImage>& images)
{
    std::string bytes;
    Put16(bytes, 0);
    Put16(bytes, 1); // icon
    Put16(bytes, static_cast<unsigned int>(images.size()));
    auto offset = static_cast<unsigned int>(6 + 16 * images.size());
    for (const IconImage& image : images)
    {
        bytes.push_back(static_cast<char>(image.width & 0xFF)); // 0 means 256
        bytes.push_back(static_cast<char>(image.height & 0xFF));
        bytes.push_back(0); // no palette
        bytes.push_back(0);
        Put16(bytes, 1);
        Put16(bytes, image.bitCount);
        Put32(bytes, static_cast<unsigned int>(image.data.size()));
        Put32(bytes, offset);
        offset += static_cast<unsigned int>(image.data.size());
    }
    for (const IconImage& image : images)
    {
        bytes += image.data;
    }
    return bytes;
}

} // namespace Tesmo::Tests
