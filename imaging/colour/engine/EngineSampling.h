#pragma once

#include "imaging/StripStage.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The colour step for a profile that only the colour engine can run (tables, CMYK): the
// engine converts a lattice of colours once, to XYZ (33 nodes an input for RGB, 17 for
// CMYK, placed along the profile's table's input curves; see ColourLattice), or grey
// levels to sRGB (every level for 8-bit grey), and the pixels are interpolated between
// them, a few nanoseconds each where the engine would take far longer. Null when the engine
// cannot be loaded or refuses the profile. colourSpace is the profile's ('RGB ', 'GRAY',
// 'CMYK'); levels the frame's samples' (256 or 65536).
std::unique_ptr<StripStage> SampledStage(const std::vector<std::uint8_t>& profile, std::uint32_t colourSpace,
                                         std::uint32_t levels, StripLayout from, StripLayout to);

} // namespace Tesmo::Plugin::Imaging
