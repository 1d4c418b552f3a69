#pragma once

#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The curve that brings a frame's luminance from 0 to its content light level L (above
// 1.0) into 0 to 1, SDR white: BT.2390's EETF, in PQ space (SMPTE ST 2084), from a source
// peak of L x 80 nits to a target peak of 80 nits, black at 0 for both. Below its knee it
// passes luminance unchanged (up to 0.2 and beyond for content up to L = 16); above it a
// Hermite spline rolls off into 1.0, reached at L, keeping highlights in many distinct
// levels. Monotonic. Tabulated once a frame, so a pixel costs one interpolation rather
// than PQ's powers.
class ToneMapCurve
{
public:
    explicit ToneMapCurve(double level);

    // Luminance in, at least 0, to luminance out, 0 to 1; 1 from L up.
    float operator()(float luminance) const
    {
        const float at = luminance * stepsPerUnit;
        if (!(at < lastStep))
        {
            return 1.0f;
        }
        const auto step = static_cast<std::size_t>(at);
        const float fraction = at - static_cast<float>(step);
        return table[step] + (table[step + 1] - table[step]) * fraction;
    }

private:
    std::vector<float> table; // luminance out at steps of L / steps
    float stepsPerUnit;
    float lastStep;
};

// The curve's value at luminance for a content light level, computed in full: what the
// table samples.
double MapLuminance(double luminance, double level);

} // namespace Tesmo::Plugin::Imaging
