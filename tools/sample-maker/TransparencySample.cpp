#include "TransparencySample.h"

#include "Scene.h"

namespace Tesmo::SampleMaker
{

namespace
{

// The sky's last rows above the horizon (row 24), from the top: its colour stored
// partly opaque, so that over any background it shades into the grass as haze.
constexpr unsigned int hazeTop = 19;
constexpr unsigned char hazeAlpha[] = {40, 80, 120, 160, 200};

// Diagonal bands this many pixels wide, in colours the scene never uses.
constexpr unsigned int stripeWidth = 3;
constexpr PluginHost::GifColour stripes[] = {0xFFE000, 0x101010};

unsigned char AlphaOf(const Indices& scene, unsigned int x, unsigned int y)
{
    if (scene.at[y * scene.width + x] != sky)
    {
        return 255;
    }
    return y < hazeTop ? 0 : hazeAlpha[y - hazeTop];
}

} // namespace

PluginHost::PngImage TransparentSky()
{
    const Indices scene = Scene();
    PluginHost::PngImage image{scene.width, scene.height, PluginHost::PngColourType::Rgba};
    for (unsigned int y = 0; y < scene.height; ++y)
    {
        for (unsigned int x = 0; x < scene.width; ++x)
        {
            const unsigned char alpha = AlphaOf(scene, x, y);
            const PluginHost::GifColour stored =
                alpha == 0 ? stripes[(x + y) / stripeWidth % 2] : palette[scene.at[y * scene.width + x]];
            AppendRgba(image.samples, stored, alpha);
        }
    }
    return image;
}

} // namespace Tesmo::SampleMaker
