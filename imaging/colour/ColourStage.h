#pragma once

#include "imaging/colour/engine/ColourLattice.h"
#include "imaging/colour/MatrixShaper.h"
#include "imaging/StripStage.h"

#include <memory>

namespace Tesmo::Plugin::Imaging
{

// The colour step of the strip walker: each pixel's colour samples, read in layout from,
// through the conversion to sRGB, written in layout to (Rgb24, or Bgra32 where alpha is
// kept for the step after). Alpha is carried over, reduced to 8 bits. Null for a pair of
// layouts the step does not take: from Rgb24, Bgra32, Rgb48, Rgba64, Gray16 (its sample
// taken as all three), Cmyk32 or Cmyk64 (four-input lattices only).
std::unique_ptr<StripStage> MakeColourStage(MatrixShaper conversion, StripLayout from, StripLayout to);
std::unique_ptr<StripStage> MakeColourStage(ColourLattice conversion, StripLayout from, StripLayout to);
std::unique_ptr<StripStage> MakeColourStage(GreyLevels conversion, StripLayout from, StripLayout to);

} // namespace Tesmo::Plugin::Imaging
