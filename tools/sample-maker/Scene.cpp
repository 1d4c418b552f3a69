#include "Scene.h"

namespace Tesmo::SampleMaker
{

const std::vector<PluginHost::GifColour> palette = {0x87CEEB, 0x3A9D23, 0xFFD700, 0xE03C31, 0xFFFFFF,
                                                    0x8B5A2B, 0x1F6E2A, 0xFF00FF, 0xFF8C00};

Indices::Indices(unsigned int width, unsigned int height, Colour fill)
    : width(width), height(height), at(width * height, fill)
{
}

void Indices::Rectangle(unsigned int left, unsigned int top, unsigned int right, unsigned int bottom, Colour colour)
{
    for (unsigned int y = top; y < bottom && y < height; ++y)
    {
        for (unsigned int x = left; x < right && x < width; ++x)
        {
            at[y * width + x] = colour;
        }
    }
}

void Indices::Disc(int centreX2, int centreY2, int radius2, Colour colour)
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

Indices Scene()
{
    Indices scene(sceneWidth, sceneHeight, sky);
    scene.Rectangle(0, 24, sceneWidth, sceneHeight, grass);
    scene.Disc(80, 14, 9, sun);
    scene.Rectangle(8, 16, 10, 24, trunk);
    scene.Disc(18, 24, 11, leaves);
    return scene;
}

Indices BallPatch()
{
    Indices patch(ballSize, ballSize, seeThrough);
    patch.Disc(8, 8, 8, ball);
    patch.Rectangle(2, 2, 4, 3, shine);
    return patch;
}

void AppendRgba(std::string& samples, PluginHost::GifColour colour, unsigned char alpha)
{
    samples += {static_cast<char>(colour >> 16 & 0xFF), static_cast<char>(colour >> 8 & 0xFF),
                static_cast<char>(colour & 0xFF), static_cast<char>(alpha)};
}

} // namespace Tesmo::SampleMaker
