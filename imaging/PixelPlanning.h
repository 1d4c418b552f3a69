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
// colour through the profile, then alpha over the background. A PNG frame without a
// profile may have its gAMA and cHRM chunks, read from the head of the file at path. A frame that needs neither
// is read as 24-bit RGB through the converter, as ever, and nothing more is asked.
// Wine's converter lacks some paths to the formats the steps want; a frame that already
// has the wanted format is read from itself.
PixelPlan PlanPixels(IWICImagingFactory& factory, IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                     const wchar_t* path, const FrameSettings& settings);

} // namespace Tesmo::Plugin::Imaging
