#pragma once

#include "imaging/hdr/ScrgbFormats.h"

#include <cstddef>
#include <cstdint>

namespace Tesmo::Plugin::Imaging
{

// One pixel in linear light, straight: R, G, B (grey repeated), each at least 0 and finite;
// alpha from 0 to 1 (1 where the format has none or its alpha is to be ignored).
struct LinearPixel
{
    float red;
    float green;
    float blue;
    float alpha;
};

// Reads count pixels of format from samples, as WIC defines each sample: half floats with
// their subnormals, fixed point by its scale, RGBE by its shared exponent. Negative, NaN
// and infinite samples are out of any screen's reach: colours become 0 and the largest
// finite half (65504) at most, alpha is clamped to 0 to 1. Premultiplied colours are divided
// by their alpha. ignoreAlpha reads every pixel as opaque.
void ReadLinearPixels(const ScrgbFormat& format, const std::uint8_t* samples, std::size_t count, bool ignoreAlpha,
                      LinearPixel* pixels);

// A half float's bits as a colour, as ReadLinearPixels reads it: negatives and NaN 0,
// infinity the largest finite half.
float HalfColour(std::uint16_t half);

} // namespace Tesmo::Plugin::Imaging
