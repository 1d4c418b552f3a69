#include "imaging/colour/MatrixShaper.h"

#include "imaging/colour/profile/ColourMatrix.h"
#include "imaging/colour/profile/IccNumbers.h"
#include "imaging/colour/SrgbSpace.h"

#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// A 16-bit channel's table is computed at this many evenly spaced points and filled in
// between them: a curve's bend between two points is far below a 16-bit step, and the
// curve is evaluated 4097 rather than 65536 times.
constexpr std::uint32_t curvePoints = 4097;

std::vector<std::uint16_t> LinearTable(const ToneCurve& curve, std::uint32_t levels)
{
    std::vector<std::uint16_t> table(levels);
    const std::uint32_t points = levels <= curvePoints ? levels : curvePoints;
    std::vector<double> values(points);
    for (std::uint32_t point = 0; point < points; ++point)
    {
        values[point] = curve.Evaluate(double(point) / (points - 1)) * 65535.0;
    }
    for (std::uint32_t level = 0; level < levels; ++level)
    {
        const double at = double(level) * (points - 1) / (levels - 1);
        const auto below = static_cast<std::uint32_t>(at);
        const std::uint32_t above = below + 1 < points ? below + 1 : below;
        const double rest = at - below;
        table[level] = static_cast<std::uint16_t>(std::lround(values[below] * (1.0 - rest) + values[above] * rest));
    }
    return table;
}

// The profile's linear RGB to linear sRGB: through XYZ (D50), where both sets of
// colorants lead, as a relative colorimetric conversion between two such profiles goes.
bool ToSrgb(const IccProfile& profile, ColourMatrix& matrix)
{
    constexpr std::uint32_t colorantTags[] = {Signature("rXYZ"), Signature("gXYZ"), Signature("bXYZ")};
    std::array<Xyz, 3> colorants{};
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        if (!profile.ReadXyz(colorantTags[channel], colorants[channel]))
        {
            return false;
        }
    }
    ColourMatrix fromXyz{};
    if (!Invert(FromColumns(srgbColorants), fromXyz))
    {
        return false;
    }
    matrix = Multiply(fromXyz, FromColumns(colorants));
    return true;
}

} // namespace

std::optional<MatrixShaper> MatrixShaper::FromProfile(const IccProfile& profile, std::uint32_t levels)
{
    const bool grey = profile.ColourSpace() == Signature("GRAY");
    const std::array<std::uint32_t, 3> curveTags =
        grey ? std::array{Signature("kTRC"), Signature("kTRC"), Signature("kTRC")}
             : std::array{Signature("rTRC"), Signature("gTRC"), Signature("bTRC")};
    // A grey profile's neutral is sRGB's neutral of the same luminance.
    ColourMatrix matrix = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (levels < 2 || (!grey && !ToSrgb(profile, matrix)))
    {
        return std::nullopt;
    }

    MatrixShaper shaper;
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        const std::size_t same = channel > 0 && profile.SameData(curveTags[channel], curveTags[channel - 1])
                                     ? shaper.tables.size() - 1
                                     : shaper.tables.size();
        if (same == shaper.tables.size())
        {
            ToneCurve curve;
            if (!profile.ReadCurve(curveTags[channel], curve))
            {
                return std::nullopt;
            }
            shaper.tables.push_back(std::make_shared<const std::vector<std::uint16_t>>(LinearTable(curve, levels)));
        }
        shaper.linear[channel] = shaper.tables[same]->data();
    }

    // The largest shift whose sums of products stay within 32 bits.
    double largestRow = 0.0;
    for (std::size_t row = 0; row < 3; ++row)
    {
        const double sum = std::fabs(matrix[row * 3]) + std::fabs(matrix[row * 3 + 1]) + std::fabs(matrix[row * 3 + 2]);
        largestRow = sum > largestRow || !std::isfinite(sum) ? sum : largestRow;
    }
    for (shaper.shift = 14; shaper.shift >= 8; --shaper.shift)
    {
        if (largestRow * 65535.0 * std::ldexp(1.0, shaper.shift) + std::ldexp(1.0, shaper.shift) < 2147483647.0)
        {
            break;
        }
    }
    if (shaper.shift < 8 || !std::isfinite(largestRow))
    {
        return std::nullopt;
    }
    for (std::size_t entry = 0; entry < 9; ++entry)
    {
        shaper.matrix[entry] = static_cast<std::int32_t>(std::lround(std::ldexp(matrix[entry], shaper.shift)));
    }
    shaper.rounding = std::int32_t{1} << (shaper.shift - 1);
    shaper.encoding = std::make_shared<const std::vector<std::uint8_t>>(SrgbEncodingTable());
    return shaper;
}

} // namespace Tesmo::Plugin::Imaging
