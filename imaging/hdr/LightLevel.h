#pragma once

#include "imaging/hdr/ScrgbFormats.h"

#include <wincodec.h>

#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// A frame's content light level: the 99.99th percentile of each pixel's largest channel, in
// scRGB's units (1.0 is SDR white). The brightest 0.01 % are left out, so that a few stray
// pixels (a hot sensor pixel, a glint) do not darken the whole picture.
//
// The percentile is found in a histogram rather than in a copy of the frame, which a
// 32-bit host could not spare: one bin for each value of a float's sign, exponent and top
// ten mantissa bits (a thousandth of the value apart, as fine as a half float), 1 MB of
// counts. The level is the lowest value of its bin, so that a picture whose brightest
// content is exactly 1.0 counts as SDR.
class LightHistogram
{
public:
    LightHistogram();

    void Add(float largestChannel);
    // The content light level of the values added; 0 when none were.
    float Level() const;

    // Whether any pixel's alpha was above 0 (Wine's JPEG XR decoder hands over 0
    // throughout where the file holds 1).
    bool alphaSeen = false;

private:
    std::vector<std::uint32_t> counts;
    std::uint64_t total = 0;
};

// What the first of the strip walker's two passes over an scRGB frame finds.
struct FrameLight
{
    float level = 0.0f;     // the content light level
    bool alphaSeen = false; // whether any pixel's alpha is above 0
};

// Reads frame, whose pixel format is format, in strips into a histogram. A frame that
// cannot be read (or no memory for the histogram) gives level 0: the decode itself then
// says what fails.
FrameLight MeasureFrameLight(IWICBitmapSource& frame, const ScrgbFormat& format);

} // namespace Tesmo::Plugin::Imaging
