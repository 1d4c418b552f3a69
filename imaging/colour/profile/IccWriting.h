#pragma once

#include "imaging/colour/profile/IccProfile.h"

#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The few profiles the plug-in makes itself (the one a PNG's gAMA and cHRM describe, the
// colour engine's unclipped target) are written here, big-endian as every ICC number.

struct IccTag
{
    std::uint32_t signature;
    std::vector<std::uint8_t> bytes;
};

void AppendBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value);
// s15Fixed16Number, rounded to the nearest.
std::uint32_t S15Fixed16Bits(double value);
// XYZType: one colour.
std::vector<std::uint8_t> XyzTagBytes(const Xyz& xyz);

// A display profile of version 2.1 whose connection space is XYZ under the illuminant white:
// the header, the tag table, then each tag from a four-byte boundary.
std::vector<std::uint8_t> DisplayProfileBytes(std::uint32_t colourSpace, const Xyz& white,
                                              const std::vector<IccTag>& tags);

} // namespace Tesmo::Plugin::Imaging
