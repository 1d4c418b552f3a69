// Hostile bytes as an embedded ICC profile, through every decision the plug-in takes on
// them: refuse the profile (leave the frame as stored), or build the colour step from it
// and run it over a few pixels in each pair of layouts the pixel plan asks for. The
// colour engine itself is Windows' and cannot run here: a profile bound for it gets the
// lattice the plug-in lays out for it (along its table's input curves), filled with
// made-up colours, which the step interpolates.

#include "imaging/colour/ColourStage.h"
#include "imaging/colour/engine/ColourLattice.h"
#include "imaging/colour/ProfileChoice.h"
#include "imaging/colour/profile/IccNumbers.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

using namespace Tesmo::Plugin::Imaging;

namespace
{

struct LayoutPair
{
    StripLayout from;
    StripLayout to;
};

// What the pixel plan asks of the colour step for RGB and grey frames, and for CMYK ones.
constexpr LayoutPair rgbPairs[] = {
    {StripLayout::Rgb24, StripLayout::Rgb24},   {StripLayout::Bgra32, StripLayout::Bgra32},
    {StripLayout::Rgb48, StripLayout::Rgb24},   {StripLayout::Rgba64, StripLayout::Rgb24},
    {StripLayout::Rgba64, StripLayout::Bgra32}, {StripLayout::Gray16, StripLayout::Rgb24},
};
constexpr LayoutPair cmykPairs[] = {{StripLayout::Cmyk32, StripLayout::Rgb24}, {StripLayout::Cmyk64, StripLayout::Rgb24}};

constexpr std::size_t pixelCount = 24;

// A strip of pixelCount pixels, sized exactly for the larger layout so that the address
// sanitizer sees a step that writes or reads past it: the extremes of every sample first,
// then bytes taken from the profile itself.
void RunOverPixels(const StripStage& stage, LayoutPair pair, const std::uint8_t* data, std::size_t size)
{
    const std::size_t pixelBytes = std::max(BytesPerPixel(pair.from), BytesPerPixel(pair.to));
    std::vector<std::uint8_t> strip(pixelBytes * pixelCount);
    for (std::size_t at = 0; at < BytesPerPixel(pair.from) * pixelCount; ++at)
    {
        const std::size_t pixel = at / BytesPerPixel(pair.from);
        strip[at] = pixel == 0 ? 0x00 : pixel == 1 ? 0xFF : pixel == 2 ? (at & 1 ? 0x80 : 0x00) : data[at % size];
    }
    stage.Run(strip.data(), pixelCount);
}

// The colour engine's stand-in, for a profile bound for it: the lattice the engine's
// sampling lays out for the profile (made once for 8-bit samples, once for 16-bit ones),
// a few thousand of its nodes set to made-up colours, the rest left black: what the step
// does with them is what is fuzzed, and a lattice is too large to fill for every input.
std::unique_ptr<StripStage> EngineStage(const IccProfile& profile, LayoutPair pair, const std::uint8_t* data,
                                        std::size_t size, std::optional<ColourLattice> (&lattices)[2])
{
    const std::uint32_t levels = SampleLevels(pair.from);
    if (profile.ColourSpace() == Signature("GRAY"))
    {
        std::vector<std::uint8_t> grey(levels);
        std::generate(grey.begin(), grey.end(), [&, level = std::size_t{0}]() mutable { return data[level++ % size]; });
        return MakeColourStage(GreyLevels(std::move(grey)), pair.from, pair.to);
    }
    std::optional<ColourLattice>& lattice = lattices[levels > 256];
    if (!lattice)
    {
        lattice = ColourLattice::ForProfile(profile, levels);
        std::uint32_t seed = 28;
        for (std::size_t index = 0; index < 4096; ++index)
        {
            std::uint16_t xyz[3];
            std::generate(std::begin(xyz), std::end(xyz), [&] { return static_cast<std::uint16_t>((seed = seed * 1664525u + 1013904223u) >> 16); });
            lattice->SetNode(seed % lattice->NodeCount(), xyz);
        }
    }
    return MakeColourStage(*lattice, pair.from, pair.to);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<IccProfile> profile = IccProfile::Read(data, size);
    if (!profile)
    {
        return 0;
    }
    std::optional<ColourLattice> lattices[2];
    for (const bool cmykFrame : {false, true})
    {
        if (!ChangesFrame(*profile, cmykFrame))
        {
            continue;
        }
        for (const LayoutPair pair : cmykFrame ? std::vector(std::begin(cmykPairs), std::end(cmykPairs))
                                               : std::vector(std::begin(rgbPairs), std::end(rgbPairs)))
        {
            std::unique_ptr<StripStage> stage = MatrixStage(*profile, pair.from, pair.to);
            stage = stage ? std::move(stage) : EngineStage(*profile, pair, data, size, lattices);
            if (stage != nullptr)
            {
                RunOverPixels(*stage, pair, data, size);
            }
        }
    }
    return 0;
}
