#include "imaging/hdr/ToneMapCurve.h"

#include <algorithm>
#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// SDR white in nits, as scRGB defines 1.0.
constexpr double sdrWhiteNits = 80.0;

// Enough steps that the interpolation stays far under a 16-bit level of the result.
constexpr std::size_t steps = 4096;

// SMPTE ST 2084's constants.
constexpr double m1 = 2610.0 / 16384.0;
constexpr double m2 = 2523.0 / 4096.0 * 128.0;
constexpr double c1 = 3424.0 / 4096.0;
constexpr double c2 = 2413.0 / 4096.0 * 32.0;
constexpr double c3 = 2392.0 / 4096.0 * 32.0;

// Nits to PQ's 0 to 1, and back.
double ToPq(double nits)
{
    const double power = std::pow(std::clamp(nits / 10000.0, 0.0, 1.0), m1);
    return std::pow((c1 + c2 * power) / (1.0 + c3 * power), m2);
}

double FromPq(double encoded)
{
    const double power = std::pow(std::clamp(encoded, 0.0, 1.0), 1.0 / m2);
    return 10000.0 * std::pow(std::max(power - c1, 0.0) / (c2 - c3 * power), 1.0 / m1);
}

} // namespace

double MapLuminance(double luminance, double level)
{
    const double black = ToPq(0.0);
    const double sourcePeak = ToPq(level * sdrWhiteNits);
    const double span = sourcePeak - black;
    // The source scaled to 0 to 1 between its black and its peak, and the target's peak
    // on that scale.
    const double source = (ToPq(luminance * sdrWhiteNits) - black) / span;
    const double targetPeak = (ToPq(sdrWhiteNits) - black) / span;
    const double knee = 1.5 * targetPeak - 0.5;
    double mapped = source;
    if (source >= 1.0)
    {
        mapped = targetPeak;
    }
    else if (source > knee)
    {
        const double t = (source - knee) / (1.0 - knee);
        const double t2 = t * t;
        const double t3 = t2 * t;
        mapped = (2 * t3 - 3 * t2 + 1) * knee + (t3 - 2 * t2 + t) * (1.0 - knee) + (-2 * t3 + 3 * t2) * targetPeak;
    }
    return std::min(FromPq(mapped * span + black) / sdrWhiteNits, 1.0);
}

ToneMapCurve::ToneMapCurve(double level)
    : table(steps + 1), stepsPerUnit(static_cast<float>(steps / level)), lastStep(static_cast<float>(steps))
{
    for (std::size_t step = 0; step <= steps; ++step)
    {
        table[step] = static_cast<float>(MapLuminance(level * static_cast<double>(step) / steps, level));
    }
    table[steps] = 1.0f;
}

} // namespace Tesmo::Plugin::Imaging
