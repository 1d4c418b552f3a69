#include "hosting/IccProfileBuilders.h"

#include <algorithm>

namespace Tesmo::PluginHost
{

namespace
{

constexpr Chromaticity publishedD65{0.3127, 0.3290};
const char* const iccCopyright = "No copyright: written byte by byte for testing";

// What every profile here starts with. The media white is D50 in both versions: version 4
// requires it of display profiles, and for version 2, where profiles of D65 displays
// often stored D65, D50 keeps the absolute intent agreeing with the relative one and
// with little CMS, which takes a version 2 display profile's white as D50 whatever it
// says. A profile made from a published space keeps the white its colorants were
// adapted from in 'chad'.
IccProfileToEncode StartProfile(std::uint32_t deviceClass, std::uint32_t colourSpace, std::uint32_t connectionSpace,
                                const std::string& name, IccVersion version)
{
    return {deviceClass,
            colourSpace,
            connectionSpace,
            version,
            {{IccSignature("desc"), IccDescriptionType(name, version)},
             {IccSignature("cprt"), IccTextType(iccCopyright, version)},
             {IccSignature("wtpt"), IccXyzType(iccD50)}}};
}

IccTag LabTableTag(std::uint32_t signature, unsigned int inputs, unsigned int outputs, unsigned int gridPoints,
                   const IccGridFunction& function)
{
    return {signature, IccLut16Type(inputs, outputs, gridPoints, function)};
}

std::vector<double> AsLut16(const Lab& lab)
{
    const std::array<double, 3> encoded = Lut16FromLab(lab);
    return {encoded.begin(), encoded.end()};
}

// Naive inks: what each ink leaves of white light.
Rgb NaiveInkToSrgb(const std::vector<double>& cmyk)
{
    const double paper = 1.0 - cmyk[3];
    return {(1.0 - cmyk[0]) * paper, (1.0 - cmyk[1]) * paper, (1.0 - cmyk[2]) * paper};
}

std::vector<double> SrgbToNaiveInk(const Rgb& rgb)
{
    // Near black the ratios below are noise over noise: a grid point there is all black ink.
    const double brightest = std::max({rgb[0], rgb[1], rgb[2]});
    if (brightest < 1e-4)
    {
        return {0.0, 0.0, 0.0, 1.0};
    }
    return {1.0 - rgb[0] / brightest, 1.0 - rgb[1] / brightest, 1.0 - rgb[2] / brightest, 1.0 - brightest};
}

} // namespace

RgbColourSpace SrgbSpace()
{
    return {"sRGB", {0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, publishedD65, IccToneCurve::Srgb()};
}

RgbColourSpace AdobeRgbSpace()
{
    return {"Adobe RGB (1998)", {0.64, 0.33}, {0.21, 0.71}, {0.15, 0.06}, publishedD65,
            IccToneCurve::Gamma(563.0 / 256.0)};
}

RgbColourSpace ProPhotoSpace()
{
    // Y = X / 16 below X = 1/32 (1/512 of linear light), X^1.8 above: the two meet there.
    return {"ProPhoto RGB (ROMM)", {0.7347, 0.2653}, {0.1596, 0.8404}, {0.0366, 0.0001}, {0.3457, 0.3585},
            IccToneCurve::Parametric(3, {1.8, 1.0, 0.0, 1.0 / 16.0, 1.0 / 32.0})};
}

RgbColourSpace DisplayP3Space()
{
    return {"Display P3", {0.680, 0.320}, {0.265, 0.690}, {0.150, 0.060}, publishedD65, IccToneCurve::Srgb()};
}

RgbColorants D50Colorants(const RgbColourSpace& space)
{
    const Matrix3 toD50 = Multiply(BradfordAdaptation(FromChromaticity(space.white), iccD50),
                                   RgbToXyz(space.red, space.green, space.blue, space.white));
    const auto column = [&](int c) { return Xyz{toD50[0][c], toD50[1][c], toD50[2][c]}; };
    return {column(0), column(1), column(2)};
}

IccProfileToEncode MatrixProfile(const RgbColourSpace& space, IccVersion version)
{
    IccProfileToEncode profile = MatrixProfile(space.name, D50Colorants(space), space.curve, version);
    profile.tags.push_back(
        {IccSignature("chad"), IccMatrixType(BradfordAdaptation(FromChromaticity(space.white), iccD50))});
    return profile;
}

IccProfileToEncode MatrixProfile(const std::string& name, const RgbColorants& colorants, const IccToneCurve& curve,
                                 IccVersion version)
{
    return MatrixProfile(name, colorants, {curve, curve, curve}, version);
}

IccProfileToEncode MatrixProfile(const std::string& name, const RgbColorants& colorants,
                                 const std::array<IccToneCurve, 3>& curves, IccVersion version)
{
    IccProfileToEncode profile =
        StartProfile(IccSignature("mntr"), IccSignature("RGB "), IccSignature("XYZ "), name, version);
    profile.tags.push_back({IccSignature("rXYZ"), IccXyzType(colorants.red)});
    profile.tags.push_back({IccSignature("gXYZ"), IccXyzType(colorants.green)});
    profile.tags.push_back({IccSignature("bXYZ"), IccXyzType(colorants.blue)});
    profile.tags.push_back({IccSignature("rTRC"), IccCurveType(curves[0])});
    profile.tags.push_back({IccSignature("gTRC"), IccCurveType(curves[1])});
    profile.tags.push_back({IccSignature("bTRC"), IccCurveType(curves[2])});
    return profile;
}

IccProfileToEncode GreyProfile(const std::string& name, const IccToneCurve& curve, IccVersion version)
{
    IccProfileToEncode profile =
        StartProfile(IccSignature("mntr"), IccSignature("GRAY"), IccSignature("XYZ "), name, version);
    profile.tags.push_back({IccSignature("kTRC"), IccCurveType(curve)});
    return profile;
}

RgbLabConversion SrgbLabConversion()
{
    return {[](const Rgb& rgb) { return XyzToLab(SrgbToXyzD50(rgb)); },
            [](const Lab& lab) { return XyzD50ToSrgb(LabToXyz(lab)); }};
}

IccProfileToEncode TableProfile(const std::string& name, const RgbLabConversion& conversion, unsigned int gridPoints,
                                std::uint32_t deviceClass, IccVersion version)
{
    IccProfileToEncode profile = StartProfile(deviceClass, IccSignature("RGB "), IccSignature("Lab "), name, version);
    profile.tags.push_back(LabTableTag(IccSignature("A2B0"), 3, 3, gridPoints, [&](const std::vector<double>& rgb)
                                       { return AsLut16(conversion.toLab({rgb[0], rgb[1], rgb[2]})); }));
    profile.tags.push_back(LabTableTag(IccSignature("B2A0"), 3, 3, gridPoints, [&](const std::vector<double>& lab)
                                       {
                                           const Rgb rgb = conversion.fromLab(Lut16ToLab(lab));
                                           return std::vector<double>{rgb.begin(), rgb.end()};
                                       }));
    return profile;
}

IccProfileToEncode NaiveCmykProfile(unsigned int gridPoints, IccVersion version, bool cyanAndMagentaSwapped)
{
    // Swapped, the first ink takes green away and the second red, both ways.
    const auto swapped = [cyanAndMagentaSwapped](std::vector<double> inks) {
        if (cyanAndMagentaSwapped)
        {
            std::swap(inks[0], inks[1]);
        }
        return inks;
    };
    IccProfileToEncode profile = StartProfile(IccSignature("prtr"), IccSignature("CMYK"), IccSignature("Lab "),
                                      "Naive CMYK inks over sRGB", version);
    profile.tags.push_back(LabTableTag(IccSignature("A2B0"), 4, 3, gridPoints, [&](const std::vector<double>& cmyk)
                                       { return AsLut16(XyzToLab(SrgbToXyzD50(NaiveInkToSrgb(swapped(cmyk))))); }));
    profile.tags.push_back(LabTableTag(IccSignature("B2A0"), 3, 4, gridPoints, [&](const std::vector<double>& lab)
                                       { return swapped(SrgbToNaiveInk(XyzD50ToSrgb(LabToXyz(Lut16ToLab(lab))))); }));
    return profile;
}

std::string DamagedIccProfile(std::string profile, IccDamage damage)
{
    constexpr std::size_t tagCount = 128;
    constexpr std::size_t firstOffset = 132 + 4; // the first tag's entry: signature, offset, length
    constexpr std::size_t firstLength = 132 + 8;
    const auto put = [&](std::size_t at, std::uint32_t value) {
        for (std::size_t index = 0; index < 4; ++index)
        {
            profile[at + index] = static_cast<char>(value >> (24 - 8 * index));
        }
    };
    const auto offset = [&] {
        std::uint32_t value = 0;
        for (std::size_t index = 0; index < 4; ++index)
        {
            value = value << 8 | static_cast<unsigned char>(profile[firstOffset + index]);
        }
        return value;
    };
    switch (damage)
    {
    case IccDamage::LengthPastTheEnd:
        put(0, 0x7F000000);
        break;
    case IccDamage::TagOutside:
        put(firstOffset, 0x7F000000);
        break;
    case IccDamage::TagEndOutside:
        put(firstLength, static_cast<std::uint32_t>(profile.size() - offset() + 4));
        break;
    case IccDamage::TagCountPastTheTable:
        put(tagCount, 0x7F000000);
        break;
    }
    return profile;
}

} // namespace Tesmo::PluginHost
