#pragma once

#include "imaging/FrameSettings.h"
#include "imaging/StripWalker.h"

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// Where a frame's pixels are read from, and what they go through on the way to the host.
struct PixelPlan
{
    GUID format{};          // the pixel format the walker reads
    bool fromFrame = false; // read from the frame itself, which has that format: no converter
    PixelSteps steps;
};

// Decides from the frame's pixel format, alpha and embedded profile which steps apply:
// colour through the profile, then alpha over the background; a linear-light (scRGB)
// frame is read from its own samples and tone mapped instead of converted. A PNG frame
// without a profile may have its gAMA and cHRM chunks, read from the head of the file at
// path. A frame that needs neither
// is read as 24-bit RGB through the converter, as ever, and nothing more is asked.
// Wine's converter lacks some paths to the formats the steps want; a frame that already
// has the wanted format is read from itself.
PixelPlan PlanPixels(IWICImagingFactory& factory, IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                     const wchar_t* path, const FrameSettings& settings);

// The same for an animation's composed canvas (32bpp BGRA, straight alpha), read from the
// canvas itself: through the colour profile of profileFrame (from profileDecoder), a
// frame that carries the file's profile, or the gAMA and cHRM of the file at path (none
// when either is null), then alpha over the background.
PixelPlan PlanCanvasPixels(IWICImagingFactory& factory, IWICBitmapDecoder* profileDecoder,
                           IWICBitmapFrameDecode* profileFrame, const wchar_t* path, const FrameSettings& settings);

} // namespace Tesmo::Plugin::Imaging
