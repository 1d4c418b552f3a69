#include "imaging/colour/engine/EngineSampling.h"

#include "imaging/colour/engine/ColourEngine.h"
#include "imaging/colour/engine/XyzTarget.h"
#include "imaging/colour/ColourStage.h"
#include "imaging/colour/profile/IccNumbers.h"
#include "imaging/colour/profile/IccProfile.h"

#include <algorithm>
#include <optional>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// A 16-bit grey curve is sampled at this many levels and filled in between them.
constexpr unsigned int greyPoints = 4097;
// Colours handed to the engine at a time, so that the lattice needs no second copy.
constexpr std::size_t batch = 4096;

// Every node's input colour, last input fastest, through the engine into the lattice, as
// XYZ.
bool SampleLattice(const ColourEngine& engine, ColourLattice& lattice)
{
    const unsigned int inputs = lattice.Inputs();
    const unsigned int nodes = lattice.Nodes();
    std::vector<COLOR> colours(batch);
    std::vector<COLOR> xyz(batch);
    for (std::size_t first = 0; first < lattice.NodeCount(); first += batch)
    {
        const std::size_t count = std::min(batch, lattice.NodeCount() - first);
        for (std::size_t index = 0; index < count; ++index)
        {
            WORD values[4] = {};
            std::size_t node = first + index;
            for (unsigned int input = inputs; input-- > 0; node /= nodes)
            {
                values[input] = lattice.NodeLevel(input, static_cast<unsigned int>(node % nodes));
            }
            COLOR& colour = colours[index];
            if (inputs == 4)
            {
                colour.cmyk = {values[0], values[1], values[2], values[3]};
            }
            else
            {
                colour.rgb = {values[0], values[1], values[2]};
            }
        }
        if (!engine.Convert(colours.data(), static_cast<DWORD>(count), inputs == 4 ? COLOR_CMYK : COLOR_RGB,
                              xyz.data()))
        {
            return false;
        }
        for (std::size_t index = 0; index < count; ++index)
        {
            const std::uint16_t node[3] = {xyz[index].rgb.red, xyz[index].rgb.green, xyz[index].rgb.blue};
            lattice.SetNode(first + index, node);
        }
    }
    return true;
}

// Each grey level's sRGB level: every level of 8-bit grey, or evenly spaced levels of
// 16-bit grey with the levels between them interpolated.
bool SampleGrey(const ColourEngine& engine, std::uint32_t levels, std::vector<std::uint8_t>& table)
{
    const unsigned int points = levels <= 256 ? levels : greyPoints;
    std::vector<COLOR> colours(points);
    std::vector<COLOR> srgb(points);
    for (unsigned int point = 0; point < points; ++point)
    {
        colours[point].gray.gray = static_cast<WORD>((point * 65535u * 2 + (points - 1)) / (2 * (points - 1)));
    }
    if (!engine.Convert(colours.data(), points, COLOR_GRAY, srgb.data()))
    {
        return false;
    }
    table.resize(levels);
    for (std::uint32_t level = 0; level < levels; ++level)
    {
        const std::uint64_t at = std::uint64_t{level} * (points - 1) * 65536 / (levels - 1);
        const auto below = static_cast<unsigned int>(at >> 16);
        const unsigned int above = std::min(below + 1, points - 1);
        const std::uint64_t rest = at & 0xFFFF;
        const std::uint64_t value = (srgb[below].rgb.green * (65536 - rest) + srgb[above].rgb.green * rest) >> 16;
        table[level] = static_cast<std::uint8_t>((value * 255 + 32767) / 65535);
    }
    return true;
}

} // namespace

std::unique_ptr<StripStage> SampledStage(const std::vector<std::uint8_t>& profile, std::uint32_t colourSpace,
                                         std::uint32_t levels, StripLayout from, StripLayout to)
{
    // A grey colour is never out of sRGB's gamut: straight to sRGB.
    if (colourSpace == Signature("GRAY"))
    {
        const ColourEngine engine(profile.data(), profile.size());
        std::vector<std::uint8_t> table;
        return engine.Ready() && SampleGrey(engine, levels, table)
                   ? MakeColourStage(GreyLevels(std::move(table)), from, to)
                   : nullptr;
    }
    const std::optional<IccProfile> read = IccProfile::Read(profile.data(), profile.size());
    const ColourEngine engine(profile.data(), profile.size(), XyzTargetProfile());
    if (!read || !engine.Ready())
    {
        return nullptr;
    }
    ColourLattice lattice = ColourLattice::ForProfile(*read, levels);
    return SampleLattice(engine, lattice) ? MakeColourStage(std::move(lattice), from, to) : nullptr;
}

} // namespace Tesmo::Plugin::Imaging
