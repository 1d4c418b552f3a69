#include "imaging/hdr/ScrgbPixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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

// Every half's value, made on first use (C++11's thread-safe statics): 256 KB, a lookup
// being several times faster than the conversion.
const std::vector<float>& HalfValues()
{
    static const std::vector<float> values = [] {
        std::vector<float> all(65536);
        for (std::size_t half = 0; half < all.size(); ++half)
        {
            all[half] = HalfToFloat(static_cast<std::uint16_t>(half));
        }
        return all;
    }();
    return values;
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

template <ScrgbSample kind>
float Sample(const std::uint8_t* at, const float* halves)
{
    if constexpr (kind == ScrgbSample::Float)
    {
        return FromBits(DoubleWord(at));
    }
    else if constexpr (kind == ScrgbSample::Half)
    {
        return halves[Word(at)];
    }
    else if constexpr (kind == ScrgbSample::Fixed16)
    {
        return static_cast<float>(static_cast<std::int16_t>(Word(at))) * 0x1p-13f;
    }
    else
    {
        return static_cast<float>(static_cast<std::int32_t>(DoubleWord(at))) * 0x1p-24f;
    }
}

// Negatives and NaN to 0 (a comparison with NaN is false), infinity to the brightest.
float Colour(float value)
{
    return value > 0.0f ? std::min(value, brightest) : 0.0f;
}

LinearPixel RgbePixel(const std::uint8_t* at)
{
    const float scale = at[3] == 0 ? 0.0f : std::ldexp(1.0f, at[3] - 136);
    return {at[0] * scale, at[1] * scale, at[2] * scale, 1.0f};
}

// The sample kind is fixed at compile time, so that the loop over a strip's pixels holds
// no switch.
template <ScrgbSample kind>
void ReadPixels(const ScrgbFormat& format, const std::uint8_t* at, std::size_t count, bool ignoreAlpha,
                LinearPixel* pixels)
{
    const std::size_t step = format.pixelBytes / format.slots;
    const bool grey = format.colours == 1;
    const bool readAlpha = format.alpha != ScrgbAlpha::None && !ignoreAlpha;
    const bool premultiplied = format.alpha == ScrgbAlpha::Premultiplied;
    const float* const halves = kind == ScrgbSample::Half ? HalfValues().data() : nullptr;
    for (std::size_t index = 0; index < count; ++index, at += format.pixelBytes)
    {
        const float first = Sample<kind>(at, halves);
        LinearPixel pixel{first, first, first, 1.0f};
        if (!grey)
        {
            pixel.green = Sample<kind>(at + step, halves);
            pixel.blue = Sample<kind>(at + 2 * step, halves);
        }
        if (readAlpha)
        {
            const float alpha = Sample<kind>(at + 3 * step, halves);
            pixel.alpha = alpha > 0.0f ? std::min(alpha, 1.0f) : 0.0f;
            if (premultiplied)
            {
                const float undo = pixel.alpha > 0.0f ? 1.0f / pixel.alpha : 0.0f;
                pixel.red *= undo;
                pixel.green *= undo;
                pixel.blue *= undo;
            }
        }
        pixels[index] = {Colour(pixel.red), Colour(pixel.green), Colour(pixel.blue), pixel.alpha};
    }
}

} // namespace

void ReadLinearPixels(const ScrgbFormat& format, const std::uint8_t* samples, std::size_t count, bool ignoreAlpha,
                      LinearPixel* pixels)
{
    switch (format.sample)
    {
    case ScrgbSample::Float:
        return ReadPixels<ScrgbSample::Float>(format, samples, count, ignoreAlpha, pixels);
    case ScrgbSample::Half:
        return ReadPixels<ScrgbSample::Half>(format, samples, count, ignoreAlpha, pixels);
    case ScrgbSample::Fixed16:
        return ReadPixels<ScrgbSample::Fixed16>(format, samples, count, ignoreAlpha, pixels);
    case ScrgbSample::Fixed32:
        return ReadPixels<ScrgbSample::Fixed32>(format, samples, count, ignoreAlpha, pixels);
    case ScrgbSample::Rgbe:
        for (std::size_t index = 0; index < count; ++index, samples += format.pixelBytes)
        {
            pixels[index] = RgbePixel(samples);
        }
        return;
    }
}

float HalfColour(std::uint16_t half)
{
    return Colour(HalfValues()[half]);
}

} // namespace Tesmo::Plugin::Imaging
