#pragma once

#include "imaging/StripStage.h"

#include <wincodec.h>

#include <memory>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// What a frame's pixels go through between WIC and the host's buffer: the layout the
// source gives them in, then the steps (colour through a profile or a tone map, alpha over
// a background) in order, the last of them leaving packed 24-bit RGB. No steps: the
// source gives RGB.
struct PixelSteps
{
    StripLayout layout = StripLayout::Rgb24;
    std::size_t scrgbBytes = 0; // a pixel's bytes when the layout is Scrgb
    std::vector<std::unique_ptr<StripStage>> stages;
};

// Reads source (width x height pixels as stored, in steps.layout) top-down in strips of
// rows, runs the steps over each strip, and places it in pixels, the host's buffer of
// packed 24-bit RGB, turned upright as orientation says. No buffer of the frame's size
// but the host's: an upright frame read as RGB goes straight into it. S_OK, or the first
// failure of a strip's copy with the buffer as far as it got.
HRESULT WalkStrips(IWICBitmapSource& source, UINT width, UINT height, const PixelSteps& steps, UINT orientation,
                   BYTE* pixels);

// Reads source as WalkStrips does and runs the steps over each strip, placing nothing: a
// first pass for steps that look at the whole frame before any pixel can be written.
HRESULT ScanStrips(IWICBitmapSource& source, UINT width, UINT height, const PixelSteps& steps);

} // namespace Tesmo::Plugin::Imaging
