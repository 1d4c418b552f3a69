#pragma once

#include "hosting/GifEncoder.h"

#include <string>
#include <vector>

namespace Tesmo::SampleMaker
{

// The samples' one picture: a tree, grass below the horizon and the sun in the sky, as
// indices into one palette. Nothing in it is the same turned or mirrored: the sky is
// above, the sun on the right, the tree on the left.
constexpr unsigned int sceneWidth = 48;
constexpr unsigned int sceneHeight = 32;

// Palette entries. The animation's background index is the sky, so disposal 2 puts sky
// back. The see-through index shows only in the animation's raw frames, where a glaring
// magenta makes plain which pixels a patch leaves to the frames before it.
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
extern const std::vector<PluginHost::GifColour> palette;

struct Indices
{
    unsigned int width;
    unsigned int height;
    std::vector<unsigned char> at;

    Indices(unsigned int width, unsigned int height, Colour fill);

    void Rectangle(unsigned int left, unsigned int top, unsigned int right, unsigned int bottom, Colour colour);

    // Pixels whose centres lie within radius of (centreX, centreY), all in half pixels so
    // that the arithmetic stays in whole numbers.
    void Disc(int centreX2, int centreY2, int radius2, Colour colour);
};

Indices Scene();

// The animations' ball: a disc with a glint, its corners see-through.
constexpr unsigned int ballSize = 8;
Indices BallPatch();

// A pixel as 8-bit R, G, B, A samples, as PNG stores them.
void AppendRgba(std::string& samples, PluginHost::GifColour colour, unsigned char alpha);

} // namespace Tesmo::SampleMaker
