#pragma once

#include "imaging/colour/profile/IccProfile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// A colour space in CIE xy: its white point and its three primaries, as a PNG's cHRM
// chunk gives them.
struct Chromaticities
{
    using Xy = std::array<double, 2>;
    Xy white;
    Xy red;
    Xy green;
    Xy blue;
};

// The colorants (XYZ of full red, green and blue) of the space under its own white,
// adapted to the white d50 by Bradford, as ICC profiles store them. Nothing when the
// figures make no colour space: an x or y outside 0 to 1, x + y past 1, a y of 0, or
// primaries whose matrix has no inverse.
std::optional<std::array<Xyz, 3>> D50Colorants(const Chromaticities& space, const Xyz& d50);

// The bytes of an ICC display profile (version 2, connection space XYZ) for samples that
// are linear light raised to 1 / exponent: a pure power, the same curve for every channel.
// With colorants an RGB profile of them; without, a GRAY profile. Nothing when a figure
// does not fit ICC's fixed-point numbers.
std::optional<std::vector<std::uint8_t>> PowerCurveProfile(double exponent,
                                                           const std::optional<std::array<Xyz, 3>>& colorants,
                                                           const Xyz& d50);

} // namespace Tesmo::Plugin::Imaging
