#include "StickerSample.h"

#include "Scene.h"

namespace Tesmo::SampleMaker
{

namespace
{

using PluginHost::ApngFrameToEncode;
using PluginHost::GifColour;
using PluginHost::PngColourType;
using PluginHost::PngImage;

constexpr unsigned char none = 0, previous = 2; // dispose_op
constexpr unsigned char over = 1;                // blend_op

// Each index in its palette colour; the see-through index and, when skyClear, the sky fully
// transparent; edge pixels half-transparent.
PngImage Rgba(const Indices& indices, bool skyClear, bool grey = false)
{
    PngImage image{indices.width, indices.height, PngColourType::Rgba};
    for (const unsigned char index : indices.at)
    {
        GifColour colour = palette[index];
        if (grey)
        {
            const unsigned int level = ((colour >> 16 & 0xFF) * 3 + (colour >> 8 & 0xFF) * 6 + (colour & 0xFF)) / 10;
            colour = level << 16 | level << 8 | level;
        }
        const bool clear = index == seeThrough || (skyClear && index == sky);
        AppendRgba(image.samples, colour, clear ? 0 : index == shine ? 128 : 255);
    }
    return image;
}

// The ball, its corners clear and its glint half-transparent, over whatever is under it.
ApngFrameToEncode FlyingBall(unsigned int left, unsigned int top, unsigned char dispose)
{
    return {left, top, Rgba(BallPatch(), false), dispose, over};
}

} // namespace

PluginHost::ApngToEncode StickerSample()
{
    const Indices scene = Scene();
    PluginHost::ApngToEncode sticker{Rgba(scene, true, true), false, {}};
    sticker.frames = {
        {0, 0, Rgba(scene, true), none, 0}, // the scene, its sky clear, replacing the canvas
        FlyingBall(4, 4, previous),               // the ball in the sky, gone before the next frame
        FlyingBall(14, 2, previous),
        FlyingBall(24, 6, previous),
        FlyingBall(30, 12, none), // it stays
    };
    return sticker;
}

} // namespace Tesmo::SampleMaker
