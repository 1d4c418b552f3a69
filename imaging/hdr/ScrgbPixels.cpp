#include "imaging/hdr/ScrgbPixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Brighter than any highlight a file means: half floats' largest value.
constexpr float brightest = 65504.0f;

float FromBits(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Binary16 to binary32: the exponent and mantissa shifted into place and scaled by
// 2^(127 - 15), which also makes subnormal halves exact normal floats; all ones in the
// exponent is infinity or NaN.
float HalfToFloat(std::uint16_t half)
{
    const float magnitude = (half & 0x7C00) == 0x7C00
                                ? ((half & 0x03FF) != 0 ? std::nanf("") : HUGE_VALF)
                                : FromBits(std::uint32_t{half & 0x7FFFu} << 13) * 0x1p112f;
    return (half & 0x8000) != 0 ? -magnitude : magnitude;
}

std::uint16_t Word(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t DoubleWord(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 |
           std::uint32_t{at[3]} << 24;
}

float Sample(ScrgbSample kind, const std::uint8_t* at)
{
    switch (kind)
    {
    case ScrgbSample::Float:
        return FromBits(DoubleWord(at));
    case ScrgbSample::Half:
        return HalfToFloat(Word(at));
    case ScrgbSample::Fixed16:
        return static_cast<float>(static_cast<std::int16_t>(Word(at))) * 0x1p-13f;
    case ScrgbSample::Fixed32:
        return static_cast<float>(static_cast<std::int32_t>(DoubleWord(at))) * 0x1p-24f;
    default:
        return 0.0f; // RGBE is read a pixel at a time
    }
}

// Negatives and NaN to 0 (a comparison with NaN is false), infinity to the brightest.
float Colour(float value)
{
    return value > 0.0f ? std::min(value, brightest) : 0.0f;
}

LinearPixel ReadPixel(const ScrgbFormat& format, const std::uint8_t* at, bool ignoreAlpha)
{
    if (format.sample == ScrgbSample::Rgbe)
    {
        const float scale = at[3] == 0 ? 0.0f : std::ldexp(1.0f, at[3] - 136);
        return {at[0] * scale, at[1] * scale, at[2] * scale, 1.0f};
    }
    const std::size_t step = format.pixelBytes / format.slots;
    const float first = Sample(format.sample, at);
    LinearPixel pixel{first, first, first, 1.0f};
    if (format.colours == 3)
    {
        pixel.green = Sample(format.sample, at + step);
        pixel.blue = Sample(format.sample, at + 2 * step);
    }
    if (format.alpha != ScrgbAlpha::None && !ignoreAlpha)
    {
        const float alpha = Sample(format.sample, at + 3 * step);
        pixel.alpha = alpha > 0.0f ? std::min(alpha, 1.0f) : 0.0f;
        if (format.alpha == ScrgbAlpha::Premultiplied)
        {
            const float undo = pixel.alpha > 0.0f ? 1.0f / pixel.alpha : 0.0f;
            pixel.red *= undo;
            pixel.green *= undo;
            pixel.blue *= undo;
        }
    }
    return {Colour(pixel.red), Colour(pixel.green), Colour(pixel.blue), pixel.alpha};
}

} // namespace

void ReadLinearPixels(const ScrgbFormat& format, const std::uint8_t* samples, std::size_t count, bool ignoreAlpha,
                      LinearPixel* pixels)
{
    for (std::size_t index = 0; index < count; ++index, samples += format.pixelBytes)
    {
        pixels[index] = ReadPixel(format, samples, ignoreAlpha);
    }
}

} // namespace Tesmo::Plugin::Imaging
