#pragma once

#include "imaging/colour/profile/IccProfile.h"
#include "imaging/StripStage.h"

#include <cstdint>
#include <memory>

namespace Tesmo::Plugin::Imaging
{

// What the colour step makes of an embedded profile, decided from its bytes alone so that
// every decision taken on a file's bytes can be run natively, under sanitizers, as well as
// by the plug-in.

// Whether converting through the profile would change a frame: an input, display, output
// or colour space profile of RGB or GRAY data for a frame of RGB or grey samples, or of
// CMYK data for a CMYK frame, that does not describe sRGB.
bool ChangesFrame(const IccProfile& profile, bool cmykFrame);

// The levels a sample of the layout has: 256, or 65536 for 16-bit layouts.
std::uint32_t SampleLevels(StripLayout layout);

// The colour step made of the profile's own matrix and curves, from layout from to layout
// to; null when the profile is no matrix-and-curves profile, or one that cannot be run so:
// only the colour engine can then convert it.
std::unique_ptr<StripStage> MatrixStage(const IccProfile& profile, StripLayout from, StripLayout to);

} // namespace Tesmo::Plugin::Imaging
