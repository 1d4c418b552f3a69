#include "hosting/ColourMaths.h"

#include <algorithm>
#include <cmath>

namespace Tesmo::PluginHost
{

namespace
{

constexpr Matrix3 bradford{{{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};

constexpr Chromaticity d65{0.3127, 0.3290};

// CIELAB's cube root, with its linear piece near black.
double LabCompress(double ratio)
{
    constexpr double epsilon = 216.0 / 24389.0;
    constexpr double kappa = 24389.0 / 27.0;
    return ratio > epsilon ? std::cbrt(ratio) : (kappa * ratio + 16.0) / 116.0;
}

double LabExpand(double f)
{
    constexpr double kappa = 24389.0 / 27.0;
    const double cube = f * f * f;
    return cube > 216.0 / 24389.0 ? cube : (116.0 * f - 16.0) / kappa;
}

const Matrix3& SrgbToD50()
{
    static const Matrix3 matrix = Multiply(BradfordAdaptation(FromChromaticity(d65), iccD50),
                                           RgbToXyz({0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, d65));
    return matrix;
}

} // namespace

Xyz FromChromaticity(Chromaticity xy, double luminance)
{
    return {xy.x / xy.y * luminance, luminance, (1.0 - xy.x - xy.y) / xy.y * luminance};
}

Xyz Apply(const Matrix3& matrix, const Xyz& xyz)
{
    const auto row = [&](int r) { return matrix[r][0] * xyz.x + matrix[r][1] * xyz.y + matrix[r][2] * xyz.z; };
    return {row(0), row(1), row(2)};
}

Matrix3 Multiply(const Matrix3& left, const Matrix3& right)
{
    Matrix3 product{};
    for (int r = 0; r < 3; ++r)
    {
        for (int c = 0; c < 3; ++c)
        {
            for (int k = 0; k < 3; ++k)
            {
                product[r][c] += left[r][k] * right[k][c];
            }
        }
    }
    return product;
}

Matrix3 Inverse(const Matrix3& m)
{
    // The adjugate over the determinant: every matrix here is a well-conditioned
    // colour matrix, so nothing cleverer is needed.
    const auto cofactor = [&](int r, int c)
    {
        const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
        return m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1];
    };
    const double determinant = m[0][0] * cofactor(0, 0) + m[0][1] * cofactor(0, 1) + m[0][2] * cofactor(0, 2);
    Matrix3 inverse{};
    for (int r = 0; r < 3; ++r)
    {
        for (int c = 0; c < 3; ++c)
        {
            inverse[r][c] = cofactor(c, r) / determinant;
        }
    }
    return inverse;
}

Matrix3 BradfordAdaptation(const Xyz& fromWhite, const Xyz& toWhite)
{
    const Xyz from = Apply(bradford, fromWhite);
    const Xyz to = Apply(bradford, toWhite);
    const Matrix3 scale{{{to.x / from.x, 0, 0}, {0, to.y / from.y, 0}, {0, 0, to.z / from.z}}};
    return Multiply(Inverse(bradford), Multiply(scale, bradford));
}

Matrix3 RgbToXyz(Chromaticity red, Chromaticity green, Chromaticity blue, Chromaticity white)
{
    const Xyz r = FromChromaticity(red), g = FromChromaticity(green), b = FromChromaticity(blue);
    const Matrix3 unscaled{{{r.x, g.x, b.x}, {r.y, g.y, b.y}, {r.z, g.z, b.z}}};
    const Xyz scale = Apply(Inverse(unscaled), FromChromaticity(white));
    Matrix3 matrix = unscaled;
    for (auto& row : matrix)
    {
        row[0] *= scale.x;
        row[1] *= scale.y;
        row[2] *= scale.z;
    }
    return matrix;
}

double SrgbToLinear(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double linear)
{
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

Xyz SrgbToXyzD50(const Rgb& rgb)
{
    return Apply(SrgbToD50(), {SrgbToLinear(rgb[0]), SrgbToLinear(rgb[1]), SrgbToLinear(rgb[2])});
}

Rgb XyzD50ToSrgb(const Xyz& xyz)
{
    static const Matrix3 toLinear = Inverse(SrgbToD50());
    const Xyz linear = Apply(toLinear, xyz);
    const auto encode = [](double value) { return LinearToSrgb(std::clamp(value, 0.0, 1.0)); };
    return {encode(linear.x), encode(linear.y), encode(linear.z)};
}

Lab XyzToLab(const Xyz& xyz, const Xyz& white)
{
    const double fx = LabCompress(xyz.x / white.x), fy = LabCompress(xyz.y / white.y),
                 fz = LabCompress(xyz.z / white.z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

Xyz LabToXyz(const Lab& lab, const Xyz& white)
{
    const double fy = (lab.l + 16.0) / 116.0;
    return {white.x * LabExpand(fy + lab.a / 500.0), white.y * LabExpand(fy), white.z * LabExpand(fy - lab.b / 200.0)};
}

} // namespace Tesmo::PluginHost
