#include "imaging/colour/engine/ColourLattice.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

// A position along one input in 16.16 fixed point of node steps, the last node reached
// exactly by the largest value.
std::uint32_t ToNodes(std::uint32_t value, unsigned int nodes)
{
    const std::uint32_t scaled = value * (nodes - 1);
    return scaled + (scaled + 0x7FFF) / 0xFFFF;
}

std::uint8_t ToByte(std::int32_t value)
{
    value = value < 0 ? 0 : value > 65535 ? 65535 : value;
    return static_cast<std::uint8_t>((static_cast<std::uint32_t>(value) * 255 + 32767) / 65535);
}

} // namespace

ColourLattice::ColourLattice(unsigned int inputs, unsigned int nodes, std::uint32_t levels)
    : inputs(inputs), nodes(nodes), scale(levels <= 256 ? 257 : 1)
{
    std::size_t count = 1;
    for (unsigned int input = 0; input < inputs; ++input)
    {
        count *= nodes;
    }
    outputs.resize(count * 3);
}

std::uint16_t ColourLattice::NodeLevel(unsigned int index) const
{
    return static_cast<std::uint16_t>((index * 65535u * 2 + (nodes - 1)) / (2 * (nodes - 1)));
}

// The last three inputs, from the node at base on: the cube they lie in is cut into six
// tetrahedra along its diagonal, and the one holding the point gives the three nodes
// besides the cube's first corner to weigh.
void ColourLattice::Tetrahedral(const std::uint32_t* in, std::size_t base, std::int32_t* rgb) const
{
    const std::size_t strideY = nodes;
    const std::size_t strideX = std::size_t{nodes} * nodes;
    const std::uint32_t fx = ToNodes(in[0], nodes);
    const std::uint32_t fy = ToNodes(in[1], nodes);
    const std::uint32_t fz = ToNodes(in[2], nodes);
    const std::int64_t rx = fx & 0xFFFF;
    const std::int64_t ry = fy & 0xFFFF;
    const std::int64_t rz = fz & 0xFFFF;
    const std::size_t x0 = base + (fx >> 16) * strideX;
    const std::size_t y0 = (fy >> 16) * strideY;
    const std::size_t z0 = fz >> 16;
    const std::size_t x1 = x0 + (in[0] == 0xFFFF ? 0 : strideX);
    const std::size_t y1 = y0 + (in[1] == 0xFFFF ? 0 : strideY);
    const std::size_t z1 = z0 + (in[2] == 0xFFFF ? 0 : 1);
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        const auto at = [&](std::size_t x, std::size_t y, std::size_t z) {
            return std::int64_t{outputs[(x + y + z) * 3 + channel]};
        };
        const std::int64_t c0 = at(x0, y0, z0);
        std::int64_t c1 = 0, c2 = 0, c3 = 0;
        if (rx >= ry && ry >= rz)
        {
            c1 = at(x1, y0, z0) - c0, c2 = at(x1, y1, z0) - at(x1, y0, z0), c3 = at(x1, y1, z1) - at(x1, y1, z0);
        }
        else if (rx >= rz && rz >= ry)
        {
            c1 = at(x1, y0, z0) - c0, c2 = at(x1, y1, z1) - at(x1, y0, z1), c3 = at(x1, y0, z1) - at(x1, y0, z0);
        }
        else if (rz >= rx && rx >= ry)
        {
            c1 = at(x1, y0, z1) - at(x0, y0, z1), c2 = at(x1, y1, z1) - at(x1, y0, z1), c3 = at(x0, y0, z1) - c0;
        }
        else if (ry >= rx && rx >= rz)
        {
            c1 = at(x1, y1, z0) - at(x0, y1, z0), c2 = at(x0, y1, z0) - c0, c3 = at(x1, y1, z1) - at(x1, y1, z0);
        }
        else if (ry >= rz && rz >= rx)
        {
            c1 = at(x1, y1, z1) - at(x0, y1, z1), c2 = at(x0, y1, z0) - c0, c3 = at(x0, y1, z1) - at(x0, y1, z0);
        }
        else
        {
            c1 = at(x1, y1, z1) - at(x0, y1, z1), c2 = at(x0, y1, z1) - at(x0, y0, z1), c3 = at(x0, y0, z1) - c0;
        }
        const std::int64_t rest = c1 * rx + c2 * ry + c3 * rz;
        rgb[channel] = static_cast<std::int32_t>(c0 + ((rest + 0x8000) >> 16));
    }
}

void ColourLattice::operator()(const std::uint32_t* channels, std::uint8_t* rgb) const
{
    std::uint32_t in[4];
    for (unsigned int input = 0; input < inputs; ++input)
    {
        in[input] = channels[input] * scale;
    }
    std::int32_t result[3];
    if (inputs == 3)
    {
        Tetrahedral(in, 0, result);
    }
    else
    {
        const std::size_t strideW = std::size_t{nodes} * nodes * nodes;
        const std::uint32_t fw = ToNodes(in[0], nodes);
        const std::int64_t rw = fw & 0xFFFF;
        const std::size_t w0 = (fw >> 16) * strideW;
        const std::size_t w1 = w0 + (in[0] == 0xFFFF ? 0 : strideW);
        std::int32_t low[3], high[3];
        Tetrahedral(in + 1, w0, low);
        Tetrahedral(in + 1, w1, high);
        for (std::size_t channel = 0; channel < 3; ++channel)
        {
            result[channel] = static_cast<std::int32_t>(low[channel] + (((high[channel] - low[channel]) * rw + 0x8000) >> 16));
        }
    }
    for (std::size_t channel = 0; channel < 3; ++channel)
    {
        rgb[channel] = ToByte(result[channel]);
    }
}

} // namespace Tesmo::Plugin::Imaging
