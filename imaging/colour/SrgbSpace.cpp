#include "imaging/colour/SrgbSpace.h"

#include "imaging/colour/profile/IccNumbers.h"

#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// The profile connection space's white (D50), and the D65 that version 2 profiles of
// sRGB often give as their media white.
constexpr Xyz d50 = {0.9642, 1.0, 0.8249};
constexpr Xyz d65 = {0.9505, 1.0, 1.0890};

// Profiles of sRGB round their colorants to s15.16 and adapt them to D50 by Bradford or by
// a plain scaling: they agree to within a few thousandths. The nearest other spaces
// (a display's measured primaries, say) differ by a hundredth or more.
constexpr double colorantTolerance = 0.005;
constexpr double whiteTolerance = 0.01;
// A curve within a level of sRGB's at every 8-bit value converts to within that level.
constexpr double curveToleranceLevels = 1.0;

bool Near(const Xyz& one, const Xyz& other, double tolerance)
{
    for (std::size_t component = 0; component < 3; ++component)
    {
        if (!(std::fabs(one[component] - other[component]) <= tolerance))
        {
            return false;
        }
    }
    return true;
}

bool CurveIsSrgb(const IccProfile& profile, std::uint32_t signature)
{
    ToneCurve curve;
    if (!profile.ReadCurve(signature, curve))
    {
        return false;
    }
    for (int level = 0; level < 256; ++level)
    {
        const double encoded = LinearToSrgb(curve.Evaluate(level / 255.0)) * 255.0;
        if (!(std::fabs(encoded - level) <= curveToleranceLevels))
        {
            return false;
        }
    }
    return true;
}

bool WhiteIsStandard(const IccProfile& profile)
{
    Xyz white{};
    return !profile.ReadXyz(Signature("wtpt"), white) || Near(white, d50, whiteTolerance) ||
           Near(white, d65, whiteTolerance);
}

} // namespace

const std::array<Xyz, 3> srgbColorants = {{
    {0.4360747, 0.2225045, 0.0139322},
    {0.3850649, 0.7168786, 0.0971045},
    {0.1430804, 0.0606169, 0.7141733},
}};

double SrgbToLinear(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double linear)
{
    if (!(linear > 0.0))
    {
        return 0.0;
    }
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

std::vector<std::uint8_t> SrgbEncodingTable()
{
    std::vector<std::uint8_t> table(65536);
    unsigned int level = 0;
    // Level v + 1 starts where the linear value reaches the middle between v and v + 1.
    double nextStart = SrgbToLinear(0.5 / 255.0) * 65535.0;
    for (unsigned int linear = 0; linear < table.size(); ++linear)
    {
        while (level < 255 && linear >= nextStart)
        {
            ++level;
            nextStart = level < 255 ? SrgbToLinear((level + 0.5) / 255.0) * 65535.0 : 65536.0;
        }
        table[linear] = static_cast<std::uint8_t>(level);
    }
    return table;
}

bool DescribesSrgb(const IccProfile& profile)
{
    if (profile.ColourSpace() == Signature("GRAY"))
    {
        return CurveIsSrgb(profile, Signature("kTRC"));
    }
    if (profile.ColourSpace() != Signature("RGB "))
    {
        return false;
    }
    constexpr std::uint32_t colorantTags[] = {Signature("rXYZ"), Signature("gXYZ"), Signature("bXYZ")};
    constexpr std::uint32_t curveTags[] = {Signature("rTRC"), Signature("gTRC"), Signature("bTRC")};
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        Xyz colorant{};
        if (!profile.ReadXyz(colorantTags[channel], colorant) ||
            !Near(colorant, srgbColorants[channel], colorantTolerance) || !CurveIsSrgb(profile, curveTags[channel]))
        {
            return false;
        }
    }
    return WhiteIsStandard(profile);
}

} // namespace Tesmo::Plugin::Imaging
