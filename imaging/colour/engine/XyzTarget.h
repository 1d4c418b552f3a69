#pragma once

#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The bytes of an RGB display profile whose red, green and blue are the axes of XYZ
// (relative to D50) with straight curves: converting to it, the colour engine hands over
// each colour's X, Y and Z as its red, green and blue, 0 to 1, unclipped wherever sRGB
// would clip, for the lattice to interpolate and clip each pixel itself. Every engine
// takes it: a version 2 matrix-and-curves profile with the tags such profiles require.
std::vector<std::uint8_t> XyzTargetProfile();

} // namespace Tesmo::Plugin::Imaging
