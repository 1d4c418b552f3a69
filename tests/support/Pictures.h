#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Tesmo::Tests
{

// Test images whose pixels the test itself chooses, so the expected result is known
// independently of the code under test.

struct Rgba
{
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    unsigned char a = 255;
};

inline constexpr Rgba white{255, 255, 255, 255};

// Pixels in rows from top to bottom.
struct Picture
{
    unsigned int width = 0;
    unsigned int height = 0;
    std::vector<Rgba> pixels;

    const Rgba& At(unsigned int x, unsigned int y) const { return pixels[y * width + x]; }
    // The packed 24-bit R, G, B rows: alpha dropped, colours kept.
    std::string Rgb() const;
    // The picture a viewer shows over background: each colour (c * a + bg * (255 - a)) / 255,
    // rounded; opaque.
    Picture Over(const Rgba& background) const;
};

// A picture whose pixel (x, y) is colourAt(x, y).
Picture PictureOf(unsigned int width, unsigned int height, const std::function<Rgba(unsigned int x, unsigned int y)>& colourAt);
// Distinct, irregular colours, so a swapped channel, a wrong row or a shifted column
// shows. With alpha, the alpha values vary too, fully transparent ones included.
Picture PatternPicture(unsigned int width, unsigned int height, unsigned int seed, bool withAlpha = false);
// Grey levels: r = g = b.
Picture GreyPicture(unsigned int width, unsigned int height, unsigned int seed);
// A smooth gradient, for lossy formats.
Picture GradientPicture(unsigned int width, unsigned int height);

// An 8-bit palette image.
struct IndexedPicture
{
    unsigned int width = 0;
    unsigned int height = 0;
    std::vector<unsigned char> indices;
    std::vector<Rgba> palette;

    Picture Colours() const;
};
IndexedPicture PatternIndexed(unsigned int width, unsigned int height, unsigned int paletteSize, unsigned int seed);

} // namespace Tesmo::Tests
