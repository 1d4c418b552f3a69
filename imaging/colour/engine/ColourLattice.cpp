#include "imaging/colour/engine/ColourLattice.h"

#include "imaging/colour/profile/ColourMatrix.h"
#include "imaging/colour/profile/IccNumbers.h"
#include "imaging/colour/profile/TableCurves.h"
#include "imaging/colour/SrgbSpace.h"

#include <algorithm>
#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

constexpr unsigned int rgbNodes = 33;
constexpr unsigned int cmykNodes = 17;

// The connection space's white, and where CIELAB's cube root turns straight (6/29).
constexpr double connectionWhite[] = {0.9642, 1.0, 0.8249};
constexpr double labEdge = 6.0 / 29;
// The cube roots' fixed point, 1 as 2^14, and how far their cubes are tabled: past the
// largest root of a colour no brighter than the white, cbrt(1 / 0.8249) (Z's).
constexpr double labOne = 16384.0;
constexpr std::int32_t cubeEntries = 17600;
// The cubes reach 1.23 * 65535, the rows' magnitudes 5.3: 2^12 keeps their sums in 31 bits.
constexpr int labShift = 12;

// Each sample's place along the nodes: its curve's value in 16.16 fixed point of node
// steps, from 0 to the last node exactly.
std::vector<std::uint32_t> Places(const ToneCurve* curve, unsigned int nodes, std::uint32_t levels)
{
    std::vector<std::uint32_t> places(levels);
    const double last = nodes - 1;
    for (std::uint32_t level = 0; level < levels; ++level)
    {
        const double value = double(level) / (levels - 1);
        const double place = (curve != nullptr ? curve->Evaluate(value) : value) * last;
        places[level] = static_cast<std::uint32_t>(std::lround(std::fmin(std::fmax(place, 0.0), last) * 65536.0));
    }
    return places;
}

// The 16-bit sample whose place is nearest each node's.
std::vector<std::uint16_t> NodeLevels(const ToneCurve* curve, unsigned int nodes)
{
    const auto place = [&](std::uint32_t level) {
        const double value = level / 65535.0;
        return curve != nullptr ? curve->Evaluate(value) : value;
    };
    std::vector<std::uint16_t> levels(nodes);
    for (unsigned int index = 0; index < nodes; ++index)
    {
        const double wanted = double(index) / (nodes - 1);
        // The first sample at or past the node, on a curve that does not fall; a curve
        // that does gives some sample near it, and the places of the samples say the rest.
        std::uint32_t low = 0;
        std::uint32_t high = 65535;
        while (low < high)
        {
            const std::uint32_t middle = (low + high) / 2;
            (place(middle) < wanted ? low = middle + 1 : high = middle);
        }
        if (low > 0 && std::fabs(place(low - 1) - wanted) <= std::fabs(place(low) - wanted))
        {
            --low;
        }
        levels[index] = static_cast<std::uint16_t>(low);
    }
    return levels;
}

} // namespace

ColourLattice::ColourLattice(unsigned int inputs, unsigned int nodes, std::uint32_t levels,
                             const std::vector<ToneCurve>& curves, bool lab)
    : inputs(inputs), nodes(nodes), lab(lab),
      encoding(std::make_shared<const std::vector<std::uint8_t>>(SrgbEncodingTable()))
{
    std::size_t count = 1;
    for (unsigned int input = 0; input < inputs; ++input)
    {
        count *= nodes;
        const ToneCurve* const curve = input < curves.size() ? &curves[input] : nullptr;
        // Evenly spaced inputs share their places.
        places[input] = curve == nullptr && input > 0
                            ? places[0]
                            : std::make_shared<const std::vector<std::uint32_t>>(Places(curve, nodes, levels));
        nodeLevels[input] = NodeLevels(curve, nodes);
    }
    outputs.resize(count * 3);

    // XYZ to linear sRGB: the inverse of sRGB's colorants.
    ColourMatrix inverse{};
    Invert(FromColumns(srgbColorants), inverse);
    for (std::size_t entry = 0; entry < 9; ++entry)
    {
        toSrgb[entry] = static_cast<float>(inverse[entry]);
    }
    if (lab)
    {
        // Each cube root cubed, X, Y or Z over the white's, 65535 for 1.
        std::vector<std::int32_t> cubed(cubeEntries);
        for (std::int32_t root = 0; root < cubeEntries; ++root)
        {
            const double f = double(root) / labOne;
            cubed[root] = static_cast<std::int32_t>(std::lround(
                (f > labEdge ? f * f * f : (f - 4.0 / 29) * 3 * labEdge * labEdge) * 65535.0));
        }
        // Those to linear sRGB in units of 2^-labShift, its sums held within 31 bits.
        for (std::size_t entry = 0; entry < 9; ++entry)
        {
            labToSrgb[entry] = static_cast<std::int32_t>(
                std::lround(std::ldexp(inverse[entry] * connectionWhite[entry % 3], labShift)));
        }
        cubes = std::make_shared<const std::vector<std::int32_t>>(std::move(cubed));
    }
}

void ColourLattice::SetNode(std::size_t node, const std::uint16_t* xyz)
{
    std::int32_t* const output = &outputs[node * 3];
    if (!lab)
    {
        for (std::size_t row = 0; row < 3; ++row)
        {
            const float* const weights = &toSrgb[row * 3];
            output[row] = static_cast<std::int32_t>(std::lround(weights[0] * xyz[0] + weights[1] * xyz[1] + weights[2] * xyz[2]));
        }
        return;
    }
    // CIELAB's L*, a* and b* are sums of these three cube roots, each of X, Y or Z over the
    // white's: interpolating them is interpolating CIELAB, and they turn back into XYZ
    // with no more than a cube each.
    for (std::size_t component = 0; component < 3; ++component)
    {
        const double ratio = xyz[component] / 65535.0 / connectionWhite[component];
        const double root = ratio > labEdge * labEdge * labEdge ? std::cbrt(ratio) : ratio / (3 * labEdge * labEdge) + 4.0 / 29;
        output[component] = static_cast<std::int32_t>(std::lround(root * labOne));
    }
}

ColourLattice ColourLattice::ForProfile(const IccProfile& profile, std::uint32_t levels)
{
    const bool cmyk = profile.ColourSpace() == Signature("CMYK");
    const unsigned int inputs = cmyk ? 4 : 3;
    const unsigned int most = cmyk ? cmykNodes : rgbNodes;
    const TableInput table = ReadTableInput(profile, Signature("A2B0"), inputs);
    // Every grid point, and as many evenly between each two as there is room for.
    const unsigned int steps = table.gridPoints >= 2 && table.gridPoints <= most ? table.gridPoints - 1 : 0;
    const unsigned int nodes = steps > 0 ? (most - 1) / steps * steps + 1 : most;
    return ColourLattice(inputs, nodes, levels, table.curves, profile.ConnectionSpace() == Signature("Lab "));
}

// The last three inputs, from the node at base on: the cube they lie in is cut into six
// tetrahedra along its diagonal, and the one holding the point gives the three nodes
// besides the cube's first corner to weigh.
void ColourLattice::Tetrahedral(const std::uint32_t* at, std::size_t base, std::int32_t* colour) const
{
    const std::size_t strideY = nodes;
    const std::size_t strideX = std::size_t{nodes} * nodes;
    const std::int64_t rx = at[0] & 0xFFFF;
    const std::int64_t ry = at[1] & 0xFFFF;
    const std::int64_t rz = at[2] & 0xFFFF;
    const std::size_t x0 = base + (at[0] >> 16) * strideX;
    const std::size_t y0 = (at[1] >> 16) * strideY;
    const std::size_t z0 = at[2] >> 16;
    const std::size_t x1 = x0 + ((at[0] >> 16) + 1 < nodes ? strideX : 0);
    const std::size_t y1 = y0 + ((at[1] >> 16) + 1 < nodes ? strideY : 0);
    const std::size_t z1 = z0 + ((at[2] >> 16) + 1 < nodes ? 1 : 0);
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        const auto node = [&](std::size_t x, std::size_t y, std::size_t z) {
            return std::int64_t{outputs[(x + y + z) * 3 + channel]};
        };
        const std::int64_t c0 = node(x0, y0, z0);
        std::int64_t c1 = 0, c2 = 0, c3 = 0;
        if (rx >= ry && ry >= rz)
        {
            c1 = node(x1, y0, z0) - c0, c2 = node(x1, y1, z0) - node(x1, y0, z0), c3 = node(x1, y1, z1) - node(x1, y1, z0);
        }
        else if (rx >= rz && rz >= ry)
        {
            c1 = node(x1, y0, z0) - c0, c2 = node(x1, y1, z1) - node(x1, y0, z1), c3 = node(x1, y0, z1) - node(x1, y0, z0);
        }
        else if (rz >= rx && rx >= ry)
        {
            c1 = node(x1, y0, z1) - node(x0, y0, z1), c2 = node(x1, y1, z1) - node(x1, y0, z1), c3 = node(x0, y0, z1) - c0;
        }
        else if (ry >= rx && rx >= rz)
        {
            c1 = node(x1, y1, z0) - node(x0, y1, z0), c2 = node(x0, y1, z0) - c0, c3 = node(x1, y1, z1) - node(x1, y1, z0);
        }
        else if (ry >= rz && rz >= rx)
        {
            c1 = node(x1, y1, z1) - node(x0, y1, z1), c2 = node(x0, y1, z0) - c0, c3 = node(x0, y1, z1) - node(x0, y1, z0);
        }
        else
        {
            c1 = node(x1, y1, z1) - node(x0, y1, z1), c2 = node(x0, y1, z1) - node(x0, y0, z1), c3 = node(x0, y0, z1) - c0;
        }
        const std::int64_t rest = c1 * rx + c2 * ry + c3 * rz;
        colour[channel] = static_cast<std::int32_t>(c0 + ((rest + 0x8000) >> 16));
    }
}

void ColourLattice::operator()(const std::uint32_t* channels, std::uint8_t* rgb) const
{
    std::uint32_t at[4];
    for (unsigned int input = 0; input < inputs; ++input)
    {
        at[input] = (*places[input])[channels[input]];
    }
    std::int32_t colour[3];
    if (inputs == 3)
    {
        Tetrahedral(at, 0, colour);
    }
    else
    {
        const std::size_t strideW = std::size_t{nodes} * nodes * nodes;
        const std::int64_t rw = at[0] & 0xFFFF;
        const std::size_t w0 = (at[0] >> 16) * strideW;
        const std::size_t w1 = w0 + ((at[0] >> 16) + 1 < nodes ? strideW : 0);
        std::int32_t low[3], high[3];
        Tetrahedral(at + 1, w0, low);
        Tetrahedral(at + 1, w1, high);
        for (std::size_t channel = 0; channel < 3; ++channel)
        {
            colour[channel] = static_cast<std::int32_t>(low[channel] + (((high[channel] - low[channel]) * rw + 0x8000) >> 16));
        }
    }
    const std::uint8_t* const levels = encoding->data();
    if (!lab)
    {
        // Clipped to sRGB here, per pixel.
        for (std::size_t out = 0; out < 3; ++out)
        {
            rgb[out] = levels[colour[out] < 0 ? 0 : colour[out] > 65535 ? 65535 : colour[out]];
        }
        return;
    }
    // Integers only: the shipped 32-bit build has no fast way from floating point back.
    const std::int32_t* const cube = cubes->data();
    const auto cubed = [&](std::int32_t root) { return cube[root < 0 ? 0 : root >= cubeEntries ? cubeEntries - 1 : root]; };
    const std::int32_t x = cubed(colour[0]);
    const std::int32_t y = cubed(colour[1]);
    const std::int32_t z = cubed(colour[2]);
    const std::int32_t rounding = std::int32_t{1} << (labShift - 1);
    for (std::size_t out = 0; out < 3; ++out)
    {
        const std::int32_t* const row = &labToSrgb[out * 3];
        const std::int32_t linear = (row[0] * x + row[1] * y + row[2] * z + rounding) >> labShift;
        rgb[out] = levels[linear < 0 ? 0 : linear > 65535 ? 65535 : linear];
    }
}

} // namespace Tesmo::Plugin::Imaging
