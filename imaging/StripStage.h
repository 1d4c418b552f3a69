#pragma once

#include <cstddef>
#include <cstdint>

namespace Tesmo::Plugin::Imaging
{

// How a strip's pixels lie in memory: what WIC reads a frame into, and what each pixel
// step leaves. WIC's 16-bit samples are native (little-endian) words.
enum class StripLayout
{
    Rgb24,   // R, G, B bytes: what the host gets
    Bgra32,  // B, G, R, A bytes, straight alpha
    Pbgra32, // B, G, R, A bytes, colours premultiplied by alpha
    Rgb48,   // R, G, B words
    Rgba64,  // R, G, B, A words, straight alpha
    Gray16,  // one word
    Cmyk32,  // C, M, Y, K bytes
    Cmyk64,  // C, M, Y, K words
    Scrgb,   // a linear-light format's own samples, as many bytes a pixel as PixelSteps says
};

constexpr std::size_t BytesPerPixel(StripLayout layout)
{
    switch (layout)
    {
    case StripLayout::Rgb24:
        return 3;
    case StripLayout::Gray16:
        return 2;
    case StripLayout::Rgb48:
        return 6;
    case StripLayout::Scrgb:
        return 0; // the format's own size
    case StripLayout::Rgba64:
    case StripLayout::Cmyk64:
        return 8;
    default:
        return 4;
    }
}

// One pixel step of the strip walker: turns count pixels of one layout into another, in
// place, in a buffer that holds count pixels of the larger of the two.
class StripStage
{
public:
    virtual ~StripStage() = default;
    virtual void Run(std::uint8_t* pixels, std::size_t count) const = 0;
};

} // namespace Tesmo::Plugin::Imaging
