#pragma once

#include <array>

namespace Tesmo::PluginHost
{

// The colour arithmetic that profiles written byte by byte are made from: a colour space's
// published figures (CIE xy) turned into the XYZ colorants a profile stores, adapted to the
// D50 white every profile connects through, and sRGB and CIELAB, in which the table-based
// profiles' functions are given. Doubles throughout; rounding to a file's encodings is the
// writer's business.

struct Chromaticity
{
    double x = 0;
    double y = 0;
};

struct Xyz
{
    double x = 0;
    double y = 0;
    double z = 0;
};

struct Lab
{
    double l = 0; // 0 to 100
    double a = 0;
    double b = 0;
};

// Rows of a 3 x 3 matrix that takes a column vector.
using Matrix3 = std::array<std::array<double, 3>, 3>;

// An RGB triple, each channel 0 to 1.
using Rgb = std::array<double, 3>;

// The white every profile connects through, as the profile header stores it.
inline constexpr Xyz iccD50{0.9642, 1.0, 0.8249};

Xyz FromChromaticity(Chromaticity xy, double luminance = 1.0);
Xyz Apply(const Matrix3& matrix, const Xyz& xyz);
Matrix3 Multiply(const Matrix3& left, const Matrix3& right);
Matrix3 Inverse(const Matrix3& matrix);

// Bradford's cone-response adaptation from one white to another, the one ICC names for
// colorants stored relative to D50.
Matrix3 BradfordAdaptation(const Xyz& fromWhite, const Xyz& toWhite);

// Linear RGB to XYZ under the space's own white: the columns are the primaries scaled so
// that full red, green and blue add up to the white at Y = 1.
Matrix3 RgbToXyz(Chromaticity red, Chromaticity green, Chromaticity blue, Chromaticity white);

// sRGB's tone curve, encoded value to linear light and back.
double SrgbToLinear(double encoded);
double LinearToSrgb(double linear);

// sRGB (encoded, 0 to 1) to XYZ relative to D50, as a profile's connection space has it,
// and back; the way back clips to 0 to 1.
Xyz SrgbToXyzD50(const Rgb& rgb);
Rgb XyzD50ToSrgb(const Xyz& xyz);

Lab XyzToLab(const Xyz& xyz, const Xyz& white = iccD50);
Xyz LabToXyz(const Lab& lab, const Xyz& white = iccD50);

} // namespace Tesmo::PluginHost
