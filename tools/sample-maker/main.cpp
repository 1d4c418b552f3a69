// sample-maker: writes samples/sample.gif, the animation the project ships to show what a
// host gets. It is made the way most animated GIFs on the web are made: one whole scene,
// then small patches at offsets that rely on what the frames before them left on the
// screen, so that WIC's raw frames are the patches and only the composed frames are the
// pictures a viewer shows. Written byte by byte by our own encoder, so the file is the
// same on every run and scripts/test.sh can check the committed copy against it.

#include "hosting/GifEncoder.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace Tesmo::PluginHost;

namespace
{

constexpr unsigned int screenWidth = 48;
constexpr unsigned int screenHeight = 32;
constexpr unsigned int ballSize = 8;
constexpr unsigned int sunPatchSize = 10;

// Global colour table entries. The background index is the sky, so disposal 2 puts sky
// back. The see-through index shows only in raw frames, where a glaring magenta makes
// plain which pixels a patch leaves to the frames before it.
enum Colour : unsigned char
{
    sky,
    grass,
    sun,
    ball,
    shine,
    trunk,
    leaves,
    seeThrough,
    evening,
};
const std::vector<GifColour> palette = {0x87CEEB, 0x3A9D23, 0xFFD700, 0xE03C31, 0xFFFFFF,
                                        0x8B5A2B, 0x1F6E2A, 0xFF00FF, 0xFF8C00};

struct Indices
{
    unsigned int width;
    unsigned int height;
    std::vector<unsigned char> at;

    Indices(unsigned int width, unsigned int height, Colour fill)
        : width(width), height(height), at(width * height, fill)
    {
    }

    void Rectangle(unsigned int left, unsigned int top, unsigned int right, unsigned int bottom, Colour colour)
    {
        for (unsigned int y = top; y < bottom && y < height; ++y)
        {
            for (unsigned int x = left; x < right && x < width; ++x)
            {
                at[y * width + x] = colour;
            }
        }
    }

    // Pixels whose centres lie within radius of (centreX, centreY), all in half pixels so
    // that the arithmetic stays in whole numbers.
    void Disc(int centreX2, int centreY2, int radius2, Colour colour)
    {
        for (unsigned int y = 0; y < height; ++y)
        {
            for (unsigned int x = 0; x < width; ++x)
            {
                const int dx = static_cast<int>(2 * x + 1) - centreX2;
                const int dy = static_cast<int>(2 * y + 1) - centreY2;
                if (dx * dx + dy * dy <= radius2 * radius2)
                {
                    at[y * width + x] = colour;
                }
            }
        }
    }
};

// A tree, grass below the horizon and the sun in the sky.
GifImage Scene()
{
    Indices scene(screenWidth, screenHeight, sky);
    scene.Rectangle(0, 24, screenWidth, screenHeight, grass);
    scene.Disc(80, 14, 9, sun);
    scene.Rectangle(8, 16, 10, 24, trunk);
    scene.Disc(18, 24, 11, leaves);
    return GifImage{0, 0, screenWidth, screenHeight, scene.at, GifControl{1, false, 0, 50}, {}, false};
}

// The ball with a glint, its corners see-through so the scene shows around it.
GifImage Ball(unsigned int left, unsigned int top, unsigned int disposal)
{
    Indices patch(ballSize, ballSize, seeThrough);
    patch.Disc(8, 8, 8, ball);
    patch.Rectangle(2, 2, 4, 3, shine);
    return GifImage{left, top, ballSize, ballSize, patch.at, GifControl{disposal, true, seeThrough, 20}, {}, false};
}

// The sun again, turned to the evening colour, in a patch around it.
GifImage EveningSun()
{
    Indices patch(sunPatchSize, sunPatchSize, seeThrough);
    patch.Disc(10, 10, 9, evening);
    return GifImage{35, 2, sunPatchSize, sunPatchSize, patch.at, GifControl{1, true, seeThrough, 100}, {}, false};
}

GifToEncode Sample()
{
    GifToEncode gif{screenWidth, screenHeight, palette, sky, {}};
    gif.images = {
        Scene(),
        Ball(16, 6, 2),  // in the sky; restoring the background takes it away again
        Ball(26, 18, 3), // landing in the grass; restoring the previous screen puts the grass back
        Ball(34, 14, 1), // bounced up; left where it is
        EveningSun(),    // the ball stays in this frame
    };
    return gif;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("usage: sample-maker OUT.gif\n", stderr);
        return 2;
    }
    const std::string bytes = EncodeGif(Sample());
    FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr)
    {
        std::fprintf(stderr, "sample-maker: cannot create %s\n", argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written)
    {
        std::fprintf(stderr, "sample-maker: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
