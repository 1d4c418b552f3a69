#include "imaging/colour/ColourStage.h"

#include <cstring>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Where a layout keeps its samples: their size, the places of the colour samples in the
// order the conversion takes them (R, G, B or C, M, Y, K), and alpha's (none: -1).
struct Shape
{
    std::size_t bytes;
    bool words;
    int samples;
    int order[4];
    int alpha;
};

constexpr Shape ShapeOf(StripLayout layout)
{
    switch (layout)
    {
    case StripLayout::Rgb24:
        return {3, false, 3, {0, 1, 2, 0}, -1};
    case StripLayout::Bgra32:
        return {4, false, 3, {2, 1, 0, 0}, 3};
    case StripLayout::Rgb48:
        return {6, true, 3, {0, 1, 2, 0}, -1};
    case StripLayout::Rgba64:
        return {8, true, 3, {0, 1, 2, 0}, 3};
    case StripLayout::Gray16:
        return {2, true, 3, {0, 0, 0, 0}, -1};
    case StripLayout::Cmyk32:
        return {4, false, 4, {0, 1, 2, 3}, -1};
    case StripLayout::Cmyk64:
        return {8, true, 4, {0, 1, 2, 3}, -1};
    default:
        return {4, false, 3, {2, 1, 0, 0}, 3};
    }
}

template <bool words>
std::uint32_t Sample(const std::uint8_t* pixel, int place)
{
    if constexpr (words)
    {
        std::uint16_t word;
        std::memcpy(&word, pixel + 2 * place, 2);
        return word;
    }
    else
    {
        return pixel[place];
    }
}

template <class Conversion, StripLayout fromLayout, StripLayout toLayout>
class ColourStage final : public StripStage
{
public:
    explicit ColourStage(Conversion conversion) : conversion(std::move(conversion)) {}

    void Run(std::uint8_t* pixels, std::size_t count) const override
    {
        // A wider pixel is written after the one it comes from has been read: from the
        // last pixel back when the layout grows, from the first on when it does not.
        if constexpr (to.bytes > from.bytes)
        {
            for (std::size_t index = count; index-- > 0;)
            {
                Convert(pixels + index * from.bytes, pixels + index * to.bytes);
            }
        }
        else
        {
            for (std::size_t index = 0; index < count; ++index)
            {
                Convert(pixels + index * from.bytes, pixels + index * to.bytes);
            }
        }
    }

private:
    static constexpr Shape from = ShapeOf(fromLayout);
    static constexpr Shape to = ShapeOf(toLayout);

    void Convert(const std::uint8_t* in, std::uint8_t* out) const
    {
        std::uint32_t samples[4];
        for (int sample = 0; sample < from.samples; ++sample)
        {
            samples[sample] = Sample<from.words>(in, from.order[sample]);
        }
        std::uint8_t alpha = 255;
        if constexpr (from.alpha >= 0 && to.alpha >= 0)
        {
            const std::uint32_t stored = Sample<from.words>(in, from.alpha);
            alpha = from.words ? static_cast<std::uint8_t>((stored * 255 + 32767) / 65535) : static_cast<std::uint8_t>(stored);
        }
        std::uint8_t rgb[3];
        conversion(samples, rgb);
        out[to.order[0]] = rgb[0];
        out[to.order[1]] = rgb[1];
        out[to.order[2]] = rgb[2];
        if constexpr (to.alpha >= 0)
        {
            out[to.alpha] = alpha;
        }
    }

    Conversion conversion;
};

template <class Conversion>
std::unique_ptr<StripStage> Make(Conversion conversion, StripLayout from, StripLayout to)
{
    using L = StripLayout;
    const auto pair = [&](L one, L other) { return from == one && to == other; };
    if (pair(L::Rgb24, L::Rgb24))
        return std::make_unique<ColourStage<Conversion, L::Rgb24, L::Rgb24>>(std::move(conversion));
    if (pair(L::Bgra32, L::Bgra32))
        return std::make_unique<ColourStage<Conversion, L::Bgra32, L::Bgra32>>(std::move(conversion));
    if (pair(L::Rgb48, L::Rgb24))
        return std::make_unique<ColourStage<Conversion, L::Rgb48, L::Rgb24>>(std::move(conversion));
    if (pair(L::Rgba64, L::Rgb24))
        return std::make_unique<ColourStage<Conversion, L::Rgba64, L::Rgb24>>(std::move(conversion));
    if (pair(L::Rgba64, L::Bgra32))
        return std::make_unique<ColourStage<Conversion, L::Rgba64, L::Bgra32>>(std::move(conversion));
    if (pair(L::Gray16, L::Rgb24))
        return std::make_unique<ColourStage<Conversion, L::Gray16, L::Rgb24>>(std::move(conversion));
    return nullptr;
}

} // namespace

std::unique_ptr<StripStage> MakeColourStage(MatrixShaper conversion, StripLayout from, StripLayout to)
{
    return Make(std::move(conversion), from, to);
}

std::unique_ptr<StripStage> MakeColourStage(GreyLevels conversion, StripLayout from, StripLayout to)
{
    return Make(std::move(conversion), from, to);
}

std::unique_ptr<StripStage> MakeColourStage(ColourLattice conversion, StripLayout from, StripLayout to)
{
    using L = StripLayout;
    if (conversion.Inputs() == 4)
    {
        if (from == L::Cmyk32 && to == L::Rgb24)
            return std::make_unique<ColourStage<ColourLattice, L::Cmyk32, L::Rgb24>>(std::move(conversion));
        if (from == L::Cmyk64 && to == L::Rgb24)
            return std::make_unique<ColourStage<ColourLattice, L::Cmyk64, L::Rgb24>>(std::move(conversion));
        return nullptr;
    }
    return Make(std::move(conversion), from, to);
}

} // namespace Tesmo::Plugin::Imaging
