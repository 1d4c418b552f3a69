#pragma once

#include "imaging/colour/profile/IccProfile.h"
#include "imaging/colour/profile/ToneCurve.h"

#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The input side of a profile's table from device colours to the connection space (the tag
// signature given, 'A2B0' for the perceptual intent): its grid's points per input, and
// each input's curve from its device value to its place along the grid, both 0 to 1. A
// colour engine runs a device colour through the curves before it interpolates between
// the grid's points, so the points lie where the curves put them, evenly spaced only for
// straight curves. Read from lut8 ('mft1'), lut16 ('mft2') and lutAToB ('mAB ', its A
// curves, when it has a grid) tables with inputs inputs.
struct TableInput
{
    std::vector<ToneCurve> curves; // none: evenly spaced points
    unsigned int gridPoints = 0;   // 0: not known, or not the same for every input
};

// Nothing known (no curves, no grid) when the profile has no such table, or one of
// another kind or shape, or one that runs past its tag: evenly spaced points are then as
// good a guess as any.
TableInput ReadTableInput(const IccProfile& profile, std::uint32_t signature, unsigned int inputs);

} // namespace Tesmo::Plugin::Imaging
