#include "imaging/colour/profile/PowerCurveProfile.h"

#include "imaging/colour/profile/ColourMatrix.h"
#include "imaging/colour/profile/IccNumbers.h"
#include "imaging/colour/profile/IccWriting.h"

#include <algorithm>
#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Bradford's cone response: the adaptation between two whites that ICC profiles record.
constexpr ColourMatrix bradford = {0.8951, 0.2664, -0.1614, -0.7502, 1.7135, 0.0367, 0.0389, -0.0685, 1.0296};

// ProPhoto's red lies on the line x + y = 1: the slack keeps it inside however the
// compiler rounds the sum (x87's extended precision in 32-bit builds, say).
bool IsChromaticity(const Chromaticities::Xy& xy)
{
    return xy[0] >= 0.0 && xy[0] <= 1.0 && xy[1] > 0.0 && xy[0] + xy[1] <= 1.0 + 1e-9;
}

// The XYZ of the colour at xy whose Y is 1.
Xyz FromXy(const Chromaticities::Xy& xy)
{
    return {xy[0] / xy[1], 1.0, (1.0 - xy[0] - xy[1]) / xy[1]};
}

bool Fits(double value)
{
    return std::isfinite(value) && std::fabs(value) < 32767.0;
}

} // namespace

std::optional<std::array<Xyz, 3>> D50Colorants(const Chromaticities& space, const Xyz& d50)
{
    for (const Chromaticities::Xy& xy : {space.white, space.red, space.green, space.blue})
    {
        if (!IsChromaticity(xy))
        {
            return std::nullopt;
        }
    }
    const ColourMatrix primaries = FromColumns({FromXy(space.red), FromXy(space.green), FromXy(space.blue)});
    ColourMatrix toPrimaries{};
    ColourMatrix fromCones{};
    if (!Invert(primaries, toPrimaries) || !Invert(bradford, fromCones))
    {
        return std::nullopt;
    }
    // Each primary scaled so that the three add up to the white.
    const Xyz white = FromXy(space.white);
    const Xyz scales = Multiply(toPrimaries, white);
    const Xyz whiteCones = Multiply(bradford, white);
    const Xyz d50Cones = Multiply(bradford, d50);
    ColourMatrix gains{};
    for (std::size_t cone = 0; cone < 3; ++cone)
    {
        if (!(std::fabs(whiteCones[cone]) > 1e-9))
        {
            return std::nullopt;
        }
        gains[cone * 4] = d50Cones[cone] / whiteCones[cone];
    }
    const ColourMatrix adaptation = Multiply(fromCones, Multiply(gains, bradford));
    std::array<Xyz, 3> colorants{};
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        const Xyz primary = {primaries[channel] * scales[channel], primaries[3 + channel] * scales[channel],
                             primaries[6 + channel] * scales[channel]};
        colorants[channel] = Multiply(adaptation, primary);
    }
    return colorants;
}

std::optional<std::vector<std::uint8_t>> PowerCurveProfile(double exponent,
                                                           const std::optional<std::array<Xyz, 3>>& colorants,
                                                           const Xyz& d50)
{
    if (!(exponent > 0.0) || !Fits(exponent))
    {
        return std::nullopt;
    }
    std::vector<IccTag> tags{{Signature("wtpt"), XyzTagBytes(d50)}};
    if (colorants)
    {
        for (const Xyz& colorant : *colorants)
        {
            if (!std::all_of(colorant.begin(), colorant.end(), Fits))
            {
                return std::nullopt;
            }
        }
        tags.push_back({Signature("rXYZ"), XyzTagBytes((*colorants)[0])});
        tags.push_back({Signature("gXYZ"), XyzTagBytes((*colorants)[1])});
        tags.push_back({Signature("bXYZ"), XyzTagBytes((*colorants)[2])});
    }
    // One parametric curve, function type 0: the exponent alone.
    std::vector<std::uint8_t> curve;
    AppendBigEndian32(curve, Signature("para"));
    AppendBigEndian32(curve, 0);
    AppendBigEndian32(curve, 0); // function type 0, reserved
    AppendBigEndian32(curve, S15Fixed16Bits(exponent));
    const std::vector<std::uint32_t> curveNames =
        colorants ? std::vector<std::uint32_t>{Signature("rTRC"), Signature("gTRC"), Signature("bTRC")}
                  : std::vector<std::uint32_t>{Signature("kTRC")};
    for (const std::uint32_t name : curveNames)
    {
        tags.push_back({name, curve});
    }
    return DisplayProfileBytes(colorants ? Signature("RGB ") : Signature("GRAY"), d50, tags);
}

} // namespace Tesmo::Plugin::Imaging
