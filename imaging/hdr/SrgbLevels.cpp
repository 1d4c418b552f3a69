#include "imaging/hdr/SrgbLevels.h"

#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// sRGB's curve backwards: the encoded value to linear light.
double Decode(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

} // namespace

SrgbLevels::SrgbLevels()
{
    starts[0] = 0.0f;
    starts[256] = 2.0f; // beyond any value: no level after 255
    for (std::size_t level = 1; level < 256; ++level)
    {
        // Level k takes encoded values from (k - 0.5) / 255.
        starts[level] = static_cast<float>(Decode((static_cast<double>(level) - 0.5) / 255.0));
    }
    std::size_t level = 0;
    for (std::size_t step = 0; step <= coarseSteps; ++step)
    {
        const float linear = static_cast<float>(step) / coarseSteps;
        while (level < 255 && linear >= starts[level + 1])
        {
            ++level;
        }
        coarse[step] = static_cast<std::uint8_t>(level);
    }
}

const SrgbLevels& SharedSrgbLevels()
{
    static const SrgbLevels levels;
    return levels;
}

} // namespace Tesmo::Plugin::Imaging
