#include "support/Pictures.h"

namespace Tesmo::Tests
{

namespace
{

// Values in rows from top to bottom, value (x, y) from valueAt(x, y).
template <class Value, class ValueAt>
std::vector<Value> Rows(unsigned int width, unsigned int height, ValueAt valueAt)
{
    std::vector<Value> values;
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            values.push_back(valueAt(x, y));
        }
    }
    return values;
}

unsigned char Byte(unsigned int value)
{
    return static_cast<unsigned char>(value);
}

} // namespace

Picture Picture::Over(const Rgba& background) const
{
    Picture over = *this;
    for (Rgba& p : over.pixels)
    {
        const auto mix = [&](unsigned int colour, unsigned int behind) {
            return Byte((colour * p.a + behind * (255 - p.a) + 127) / 255);
        };
        p = {mix(p.r, background.r), mix(p.g, background.g), mix(p.b, background.b), 255};
    }
    return over;
}

std::string Picture::Rgb() const
{
    std::string bytes;
    for (const Rgba& p : pixels)
    {
        bytes += {static_cast<char>(p.r), static_cast<char>(p.g), static_cast<char>(p.b)};
    }
    return bytes;
}

Picture PictureOf(unsigned int width, unsigned int height,
                  const std::function<Rgba(unsigned int x, unsigned int y)>& colourAt)
{
    return {width, height, Rows<Rgba>(width, height, colourAt)};
}

Picture PatternPicture(unsigned int width, unsigned int height, unsigned int seed, bool withAlpha)
{
    return PictureOf(width, height, [&](unsigned int x, unsigned int y) {
        return Rgba{Byte(x * 67 + y * 131 + seed * 29 + 17), Byte(x * 151 + y * 43 + seed * 97 + 5),
                    Byte(x * 23 + y * 199 + seed * 61 + 101), Byte(withAlpha ? (x + y * 3 + seed) % 4 * 85 : 255)};
    });
}

Picture GreyPicture(unsigned int width, unsigned int height, unsigned int seed)
{
    return PictureOf(width, height, [&](unsigned int x, unsigned int y) {
        const unsigned char level = Byte(x * 37 + y * 91 + seed * 53 + 11);
        return Rgba{level, level, level, 255};
    });
}

Picture GradientPicture(unsigned int width, unsigned int height)
{
    return PictureOf(width, height, [&](unsigned int x, unsigned int y) {
        return Rgba{Byte(40 + x * 160 / width), Byte(200 - y * 140 / height), 128, 255};
    });
}

Picture IndexedPicture::Colours() const
{
    return PictureOf(width, height, [&](unsigned int x, unsigned int y) { return palette[indices[y * width + x]]; });
}

IndexedPicture PatternIndexed(unsigned int width, unsigned int height, unsigned int paletteSize, unsigned int seed)
{
    IndexedPicture picture{width, height, {}, PatternPicture(paletteSize, 1, seed).pixels};
    picture.indices = Rows<unsigned char>(
        width, height, [&](unsigned int x, unsigned int y) { return Byte((x * 7 + y * 3 + seed) % paletteSize); });
    return picture;
}

} // namespace Tesmo::Tests
