#pragma once

#include <guiddef.h>

#include <cstddef>

namespace Tesmo::Plugin::Imaging
{

// WIC's linear-light (scRGB) pixel formats: 1.0 is SDR white, highlights go far above it
// and colours outside sRGB's gamut below 0. Wine's converter accepts none of them and
// Windows' clips them at 1.0, so their pixels are read as the frame stores them. Under Wine
// IWICPixelFormatInfo gives no bits per pixel for them, and the JPEG XR decoder's
// CopyPixels fails unless the stride is exactly the width times the pixel's bytes: hence
// this table of their layouts.

enum class ScrgbSample
{
    Float, // IEEE 754 binary32
    Half,  // IEEE 754 binary16
    Fixed16, // signed s2.13: the value times 8192, two's complement
    Fixed32, // signed s7.24: the value times 2^24, two's complement
    Rgbe,  // R, G, B mantissa bytes and a shared exponent byte E: m x 2^(E - 136), 0 when E is 0
};

enum class ScrgbAlpha
{
    None,
    Straight,
    Premultiplied,
};

struct ScrgbFormat
{
    ScrgbSample sample;
    unsigned int colours;   // 1 (grey) or 3 (R, G, B, in that order)
    unsigned int slots;     // samples a pixel takes, alpha or an unused fourth included
    ScrgbAlpha alpha;       // in the fourth slot when not None
    std::size_t pixelBytes; // bytes a pixel takes
};

// The format's layout; null for any other format.
const ScrgbFormat* FindScrgbFormat(const GUID& pixelFormat);

} // namespace Tesmo::Plugin::Imaging
