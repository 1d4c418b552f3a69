#include "support/Pictures.h"

namespace Tesmo::Tests
{

std::string Picture::Rgb() const
{
    std::string bytes;
    for (const Rgba& p : pixels)
    {
        bytes += {static_cast<char>(p.r), static_cast<char>(p.g), static_cast<char>(p.b)};
    }
    return bytes;
}

Picture PatternPicture(unsigned int width, unsigned int height, unsigned int seed, bool withAlpha)
{
    Picture picture{width, height, {}};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            picture.pixels.push_back({static_cast<unsigned char>(x * 67 + y * 131 + seed * 29 + 17),
                                      static_cast<unsigned char>(x * 151 + y * 43 + seed * 97 + 5),
                                      static_cast<unsigned char>(x * 23 + y * 199 + seed * 61 + 101),
                                      static_cast<unsigned char>(withAlpha ? (x + y * 3 + seed) % 4 * 85 : 255)});
        }
    }
    return picture;
}

Picture GreyPicture(unsigned int width, unsigned int height, unsigned int seed)
{
    Picture picture{width, height, {}};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            const auto level = static_cast<unsigned char>(x * 37 + y * 91 + seed * 53 + 11);
            picture.pixels.push_back({level, level, level, 255});
        }
    }
    return picture;
}

Picture GradientPicture(unsigned int width, unsigned int height)
{
    Picture picture{width, height, {}};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            picture.pixels.push_back({static_cast<unsigned char>(40 + x * 160 / width),
                                      static_cast<unsigned char>(200 - y * 140 / height), 128, 255});
        }
    }
    return picture;
}

Picture IndexedPicture::Colours() const
{
    Picture picture{width, height, {}};
    for (const unsigned char index : indices)
    {
        picture.pixels.push_back(palette[index]);
    }
    return picture;
}

IndexedPicture PatternIndexed(unsigned int width, unsigned int height, unsigned int paletteSize, unsigned int seed)
{
    IndexedPicture picture{width, height, {}, PatternPicture(paletteSize, 1, seed).pixels};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            picture.indices.push_back(static_cast<unsigned char>((x * 7 + y * 3 + seed) % paletteSize));
        }
    }
    return picture;
}

} // namespace Tesmo::Tests
