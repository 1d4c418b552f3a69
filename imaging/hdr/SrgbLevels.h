#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace Tesmo::Plugin::Imaging
{

// Linear light to the nearest 8-bit level of sRGB's exact curve (IEC 61966-2-1: 12.92 x
// below 0.0031308, 1.055 x^(1/2.4) - 0.055 above), 0 to 0, 1 and above to 255:
// what Windows' converter makes of an scRGB sample. Each level is found from where the
// levels start: a coarse table gives the level at the start of each 1/4096 of the range,
// and the curve rises less than one level within one of them, so one comparison with the
// next level's start settles it.
class SrgbLevels
{
public:
    SrgbLevels();

    // linear at least 0, as every colour the steps before leave.
    std::uint8_t operator()(float linear) const
    {
        const float clipped = std::min(linear, 1.0f);
        const unsigned int level = coarse[static_cast<std::size_t>(clipped * coarseSteps)];
        return static_cast<std::uint8_t>(level + (clipped >= starts[level + 1] ? 1 : 0));
    }

private:
    static constexpr std::size_t coarseSteps = 4096;
    std::array<float, 257> starts{};                    // linear light where each level starts; past 255, none
    std::array<std::uint8_t, coarseSteps + 1> coarse{}; // the level at k / 4096
};

// The one table, made on first use (C++11's thread-safe statics).
const SrgbLevels& SharedSrgbLevels();

} // namespace Tesmo::Plugin::Imaging
