#include "imaging/colour/profile/PowerCurveProfile.h"

#include "imaging/colour/profile/ColourMatrix.h"
#include "imaging/colour/profile/IccNumbers.h"

#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Bradford's cone response: the adaptation between two whites that ICC profiles record.
constexpr ColourMatrix bradford = {0.8951, 0.2664, -0.1614, -0.7502, 1.7135, 0.0367, 0.0389, -0.0685, 1.0296};

constexpr std::size_t iccHeaderBytes = 128;
constexpr std::size_t xyzTagBytes = 20;
constexpr std::size_t curveTagBytes = 16; // 'para', function type 0: one s15.16 exponent

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

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.insert(out.end(), {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                           static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

void PutFixed(std::vector<std::uint8_t>& out, double value)
{
    Put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * 65536.0))));
}

void PutXyzTag(std::vector<std::uint8_t>& out, const Xyz& xyz)
{
    Put32(out, Signature("XYZ "));
    Put32(out, 0);
    for (const double component : xyz)
    {
        PutFixed(out, component);
    }
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
    // Tags: the white, then the colorants and the one curve all channels share.
    const std::uint32_t xyzTags = colorants ? 4 : 1;
    const std::uint32_t curveNames = colorants ? 3 : 1;
    const std::uint32_t tagTable = 4 + 12 * (xyzTags + curveNames);
    const std::uint32_t size =
        static_cast<std::uint32_t>(iccHeaderBytes + tagTable + xyzTags * xyzTagBytes + curveTagBytes);

    std::vector<std::uint8_t> out;
    out.reserve(size);
    Put32(out, size);
    Put32(out, 0);          // no preferred engine
    Put32(out, 0x02100000); // version 2.1
    Put32(out, Signature("mntr"));
    Put32(out, colorants ? Signature("RGB ") : Signature("GRAY"));
    Put32(out, Signature("XYZ "));
    out.resize(36, 0);      // no date
    Put32(out, Signature("acsp"));
    out.resize(68, 0);      // no platform, flags, maker, model, attributes, intent
    for (const double component : d50)
    {
        PutFixed(out, component);
    }
    out.resize(iccHeaderBytes, 0);

    Put32(out, xyzTags + curveNames);
    const std::uint32_t offset = static_cast<std::uint32_t>(iccHeaderBytes) + tagTable;
    const auto entry = [&](std::uint32_t signature, std::uint32_t at, std::size_t bytes) {
        Put32(out, signature);
        Put32(out, at);
        Put32(out, static_cast<std::uint32_t>(bytes));
    };
    entry(Signature("wtpt"), offset, xyzTagBytes);
    const std::uint32_t curveAt = offset + xyzTags * static_cast<std::uint32_t>(xyzTagBytes);
    if (colorants)
    {
        entry(Signature("rXYZ"), offset + 20, xyzTagBytes);
        entry(Signature("gXYZ"), offset + 40, xyzTagBytes);
        entry(Signature("bXYZ"), offset + 60, xyzTagBytes);
        entry(Signature("rTRC"), curveAt, curveTagBytes);
        entry(Signature("gTRC"), curveAt, curveTagBytes);
        entry(Signature("bTRC"), curveAt, curveTagBytes);
    }
    else
    {
        entry(Signature("kTRC"), curveAt, curveTagBytes);
    }

    PutXyzTag(out, d50);
    if (colorants)
    {
        for (const Xyz& colorant : *colorants)
        {
            for (const double component : colorant)
            {
                if (!Fits(component))
                {
                    return std::nullopt;
                }
            }
            PutXyzTag(out, colorant);
        }
    }
    Put32(out, Signature("para"));
    Put32(out, 0);
    Put32(out, 0); // function type 0, reserved
    PutFixed(out, exponent);
    return out;
}

} // namespace Tesmo::Plugin::Imaging
