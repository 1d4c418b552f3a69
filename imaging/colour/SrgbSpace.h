#pragma once

#include "imaging/colour/profile/IccProfile.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// sRGB, the colour space the host shows its pixels in (IEC 61966-2-1), as ICC profiles
// describe it: its colorants adapted to the profile connection space's D50 white, and
// its tone curve.

// The colorants as the columns of the matrix from linear sRGB to XYZ (D50).
extern const std::array<Xyz, 3> srgbColorants;

// sRGB's curve, encoded value to linear light, both 0 to 1, and back.
double SrgbToLinear(double encoded);
double LinearToSrgb(double linear);

// Linear light in 0 to 65535 to the nearest 8-bit sRGB level: 65536 entries, each level
// found from where it starts, so that only 256 curve values are computed.
std::vector<std::uint8_t> SrgbEncodingTable();

// Whether an RGB or GRAY profile's matrix and curves (or grey curve) describe sRGB: its
// colorants, white point and tone curves, each within what tells sRGB from its
// neighbours, whatever the profile calls itself. Such a frame needs no conversion.
bool DescribesSrgb(const IccProfile& profile);

} // namespace Tesmo::Plugin::Imaging
