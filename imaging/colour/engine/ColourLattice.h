#pragma once

#include "imaging/colour/profile/IccProfile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// A conversion to sRGB sampled on a lattice of input colours (three inputs, or four for
// CMYK) and interpolated between its nodes, as colour engines run table-based profiles:
// tetrahedrally in three inputs; in four, tetrahedrally in the last three at the two
// nearest nodes of the first, then linearly between them.
//
// Its nodes hold colours in the profile's connection space, XYZ or CIELAB (relative to
// D50), not in sRGB: a colour outside sRGB is clipped for each pixel after interpolating,
// as the engine clips it, rather than at the nodes, where interpolating between clipped
// colours bends every colour near sRGB's edge. Along each input the nodes lie where the
// profile's own table puts its grid points (all of them, and as many evenly between as
// the lattice has room for), through its input curves: interpolating between them in the
// space the table's own points are in is then what the engine itself does.
class ColourLattice
{
public:
    // inputs 3 or 4, nodes per input at least 2, for samples of 8 bits (levels 256) or 16;
    // curves: each input's curve from its sample to its place along the nodes, both 0 to 1
    // (none: evenly spaced); lab: nodes interpolated as CIELAB rather than XYZ.
    ColourLattice(unsigned int inputs, unsigned int nodes, std::uint32_t levels, const std::vector<ToneCurve>& curves,
                  bool lab);
    virtual ~ColourLattice() = default;

    // The lattice a profile's table is sampled on: up to 33 nodes an input for RGB, 17 for
    // CMYK, along its perceptual table's input curves, in its connection space.
    static ColourLattice ForProfile(const IccProfile& profile, std::uint32_t levels);

    unsigned int Inputs() const { return inputs; }
    unsigned int Nodes() const { return nodes; }
    std::size_t NodeCount() const { return outputs.size() / 3; }
    // The 16-bit input value of node position index along input.
    std::uint16_t NodeLevel(unsigned int input, unsigned int index) const { return nodeLevels[input][index]; }
    // Node n's colour as X, Y and Z relative to D50, 0 to 65535 for 0 to 1; nodes run with
    // the last input fastest.
    void SetNode(std::size_t node, const std::uint16_t* xyz);

    void operator()(const std::uint32_t* channels, std::uint8_t* rgb) const;

private:
    void Tetrahedral(const std::uint32_t* places, std::size_t base, std::int32_t* colour) const;

    unsigned int inputs;
    unsigned int nodes;
    // Each input's sample to its place along the nodes, in 16.16 fixed point of node steps
    // (inputs with straight curves share theirs).
    std::array<std::shared_ptr<const std::vector<std::uint32_t>>, 4> places;
    std::array<std::vector<std::uint16_t>, 4> nodeLevels;
    bool lab;
    // Linear sRGB, unclipped, 65535 for 1 (the same as XYZ interpolated, for a conversion
    // that is linear); or CIELAB's three cube roots, 2^14 for 1, made sRGB per pixel.
    std::vector<std::int32_t> outputs;
    std::array<float, 9> toSrgb{};    // XYZ to linear sRGB
    std::array<std::int32_t, 9> labToSrgb{}; // the cubes to linear sRGB, in fixed point
    std::shared_ptr<const std::vector<std::int32_t>> cubes;
    std::shared_ptr<const std::vector<std::uint8_t>> encoding;
};

// A grey frame's conversion sampled at every level: one table takes each channel.
class GreyLevels
{
public:
    explicit GreyLevels(std::vector<std::uint8_t> levels) : levels(std::move(levels)) {}
    virtual ~GreyLevels() = default;

    void operator()(const std::uint32_t* channels, std::uint8_t* rgb) const
    {
        rgb[0] = levels[channels[0]];
        rgb[1] = levels[channels[1]];
        rgb[2] = levels[channels[2]];
    }

private:
    std::vector<std::uint8_t> levels;
};

} // namespace Tesmo::Plugin::Imaging
