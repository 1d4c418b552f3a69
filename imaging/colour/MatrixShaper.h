#pragma once

#include "imaging/colour/profile/IccProfile.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The conversion to sRGB of a profile made of tone curves and a matrix, as colour engines
// run it: each channel to linear light by a table, one 3x3 matrix from the profile's
// colorants to sRGB's, clipped, and sRGB's curve by a table. A grey profile's one curve
// takes every channel, and its neutral needs no matrix. Exact to the table's steps,
// and a few table reads and integer products a pixel.
class MatrixShaper
{
public:
    // For frames whose samples have levels values (256 or 65536): from an RGB profile's
    // rXYZ, gXYZ, bXYZ and rTRC, gTRC, bTRC, or a GRAY profile's kTRC. Nothing when a tag
    // is missing or unreadable, or the matrix cannot be inverted or held in integers.
    static std::optional<MatrixShaper> FromProfile(const IccProfile& profile, std::uint32_t levels);
    virtual ~MatrixShaper() = default;

    // channels: the pixel's three samples (a grey sample three times).
    void operator()(const std::uint32_t* channels, std::uint8_t* rgb) const
    {
        const std::int32_t red = linear[0][channels[0]];
        const std::int32_t green = linear[1][channels[1]];
        const std::int32_t blue = linear[2][channels[2]];
        for (std::size_t out = 0; out < 3; ++out)
        {
            const std::int32_t* const row = &matrix[out * 3];
            std::int32_t value = (row[0] * red + row[1] * green + row[2] * blue + rounding) >> shift;
            value = value < 0 ? 0 : value > 65535 ? 65535 : value;
            rgb[out] = (*encoding)[static_cast<std::uint32_t>(value)];
        }
    }

private:
    MatrixShaper() = default;

    // Each channel's samples to linear light, 0 to 65535; channels with the same curve
    // share one table.
    std::vector<std::shared_ptr<const std::vector<std::uint16_t>>> tables;
    std::array<const std::uint16_t*, 3> linear{};
    std::array<std::int32_t, 9> matrix{}; // linear profile RGB to linear sRGB, in units of 2^-shift
    int shift = 0;
    std::int32_t rounding = 0;
    std::shared_ptr<const std::vector<std::uint8_t>> encoding;
};

} // namespace Tesmo::Plugin::Imaging
