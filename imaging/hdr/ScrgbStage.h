#pragma once

#include "imaging/hdr/ScrgbFormats.h"
#include "imaging/StripStage.h"

#include <memory>

namespace Tesmo::Plugin::Imaging
{

// How an scRGB frame's pixels reach the screen's 8 bits.
struct ScrgbMapping
{
    // The content light level to tone map from; 1 or below: no tone map, each channel
    // clipped to 0 to 1, the picture Windows' converter gives.
    float level = 1.0f;
    bool ignoreAlpha = false; // read every pixel as opaque
    bool keepAlpha = false;   // leave Bgra32 with straight alpha for the alpha step, not Rgb24
};

// The strip walker's step from the frame's own samples (StripLayout::Scrgb) to sRGB.
// Tone mapping works on each pixel's luminance Y (BT.709's weights): R, G and B are scaled
// by Y_out / Y_in, which keeps hue and saturation, and a pixel with a channel still above
// 1 is desaturated toward Y_out until that channel is 1, which keeps its luminance rather
// than cutting one channel alone. Then sRGB's exact curve, to the nearest level.
std::unique_ptr<StripStage> MakeScrgbStage(const ScrgbFormat& format, const ScrgbMapping& mapping);

} // namespace Tesmo::Plugin::Imaging
