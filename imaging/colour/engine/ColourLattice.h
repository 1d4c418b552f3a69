#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// A conversion to sRGB sampled on an evenly spaced lattice of input colours (three
// inputs, or four for CMYK) and interpolated between its nodes, as colour engines run
// table-based profiles: tetrahedrally in three inputs; in four, tetrahedrally in the last
// three at the two nearest values of the first, then linearly between them.
class ColourLattice
{
public:
    // inputs 3 or 4, nodes per input at least 2, for samples of 8 bits (levels 256) or 16.
    ColourLattice(unsigned int inputs, unsigned int nodes, std::uint32_t levels);
    virtual ~ColourLattice() = default;

    unsigned int Inputs() const { return inputs; }
    unsigned int Nodes() const { return nodes; }
    std::size_t NodeCount() const { return outputs.size() / 3; }
    // The 16-bit input value of node position index along any input.
    std::uint16_t NodeLevel(unsigned int index) const;
    // Node n's sRGB red, green and blue, 16 bits each; nodes run with the last input
    // fastest.
    std::uint16_t* NodeOutput(std::size_t node) { return &outputs[node * 3]; }

    void operator()(const std::uint32_t* channels, std::uint8_t* rgb) const;

private:
    void Tetrahedral(const std::uint32_t* inputValues, std::size_t base, std::int32_t* rgb) const;

    unsigned int inputs;
    unsigned int nodes;
    std::uint32_t scale; // from a sample to 16 bits: 257 for bytes, 1 for words
    std::vector<std::uint16_t> outputs;
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
