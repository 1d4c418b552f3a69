#include "imaging/transparency/Transparency.h"

#include "imaging/PaletteColours.h"
#include "imaging/WicFormats.h"

#include <wrl/client.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <new>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

// Rows of the alpha check's read, a strip at a time.
constexpr std::size_t alphaCheckBytes = 256 * 1024;

bool IsIndexed(const GUID& format)
{
    return format == WicFormats::pixel1bppIndexed || format == WicFormats::pixel2bppIndexed ||
           format == WicFormats::pixel4bppIndexed || format == WicFormats::pixel8bppIndexed;
}

bool PaletteHasAlpha(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame)
{
    PaletteColours palette;
    if (CopyPaletteColours(factory, frame, palette) != S_OK)
    {
        return false;
    }
    return std::any_of(palette.colours.begin(), palette.colours.begin() + std::min<UINT>(palette.count, 256),
                       [](WICColor colour) { return colour >> 24 != 0xFF; });
}

// A format WIC names as able to hold transparency (one a Store codec brings, say).
bool FormatSupportsTransparency(IWICImagingFactory& factory, const GUID& format)
{
    ComPtr<IWICComponentInfo> info;
    ComPtr<IWICPixelFormatInfo2> pixelInfo;
    BOOL supports = FALSE;
    return factory.CreateComponentInfo(format, &info) == S_OK && info.As(&pixelInfo) == S_OK &&
           pixelInfo->SupportsTransparency(&supports) == S_OK && supports;
}

// Whether every pixel's alpha is 0, read as 32bpp BGRA in strips. A frame that cannot be
// read so counts as having alpha: the decode itself then says what fails.
bool AlphaAllZero(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame)
{
    UINT width = 0;
    UINT height = 0;
    ComPtr<IWICFormatConverter> toBgra;
    if (frame.GetSize(&width, &height) != S_OK || width == 0 || height == 0 || width > UINT32_MAX / 4 ||
        factory.CreateFormatConverter(&toBgra) != S_OK ||
        toBgra->Initialize(&frame, WicFormats::pixel32bppBgra, WICBitmapDitherTypeNone, nullptr, 0.0,
                           WICBitmapPaletteTypeCustom) != S_OK)
    {
        return false;
    }
    const UINT rowBytes = width * 4;
    const UINT stripRows = std::max<UINT>(1, std::min<UINT>(height, alphaCheckBytes / rowBytes));
    std::vector<BYTE> strip(std::size_t{rowBytes} * stripRows);
    for (UINT top = 0; top < height; top += stripRows)
    {
        const UINT rows = std::min(stripRows, height - top);
        const WICRect part{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        if (toBgra->CopyPixels(&part, rowBytes, rowBytes * rows, strip.data()) != S_OK)
        {
            return false;
        }
        for (std::size_t at = 3; at < std::size_t{rowBytes} * rows; at += 4)
        {
            if (strip[at] != 0)
            {
                return false;
            }
        }
    }
    return true;
}

// Most formats share WIC's one base id; of those, these hold alpha, and of them the
// premultiplied ones. The others hold none, known without asking WIC.
constexpr unsigned char baseWithAlpha[] = {0x0f, 0x10, 0x16, 0x17, 0x19, 0x1a, 0x1d, 0x1e, 0x2c, 0x2d, 0x3a};
constexpr unsigned char basePremultiplied[] = {0x10, 0x17, 0x1a};

bool Holds(const unsigned char* first, const unsigned char* last, unsigned char value)
{
    return std::find(first, last, value) != last;
}

FrameAlpha AlphaOfFormat(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, const GUID& format)
{
    if (IsIndexed(format))
    {
        return PaletteHasAlpha(factory, frame) ? FrameAlpha::Straight : FrameAlpha::None;
    }
    const unsigned char last = format.Data4[7];
    if (format == WicFormats::BasePixelFormat(last))
    {
        return Holds(std::begin(basePremultiplied), std::end(basePremultiplied), last) ? FrameAlpha::Premultiplied
               : Holds(std::begin(baseWithAlpha), std::end(baseWithAlpha), last)       ? FrameAlpha::Straight
                                                                                        : FrameAlpha::None;
    }
    if (format == WicFormats::pixel32bppPrgba || format == WicFormats::pixel64bppPbgra)
    {
        return FrameAlpha::Premultiplied;
    }
    if (format == WicFormats::pixel32bppRgba || format == WicFormats::pixel64bppBgra)
    {
        return FrameAlpha::Straight;
    }
    return FormatSupportsTransparency(factory, format) ? FrameAlpha::Straight : FrameAlpha::None;
}

template <bool premultiplied>
class CompositeStage final : public StripStage
{
public:
    explicit CompositeStage(const BackgroundColour& background)
    {
        // What the background adds at each alpha, worked out once for all pixels.
        for (unsigned int alpha = 0; alpha < 256; ++alpha)
        {
            for (std::size_t channel = 0; channel < 3; ++channel)
            {
                const unsigned int under = background[channel] * (255 - alpha);
                behind[channel][alpha] = premultiplied ? (under + 127) / 255 : under;
            }
        }
    }

    void Run(std::uint8_t* pixels, std::size_t count) const override
    {
        const std::uint8_t* in = pixels;
        std::uint8_t* out = pixels;
        for (std::size_t index = 0; index < count; ++index, in += 4, out += 3)
        {
            const unsigned int alpha = in[3];
            const unsigned int blue = in[0];
            const unsigned int green = in[1];
            const unsigned int red = in[2];
            out[0] = Over(red, alpha, 0);
            out[1] = Over(green, alpha, 1);
            out[2] = Over(blue, alpha, 2);
        }
    }

private:
    std::uint8_t Over(unsigned int colour, unsigned int alpha, std::size_t channel) const
    {
        if constexpr (premultiplied)
        {
            return static_cast<std::uint8_t>(std::min(255u, colour + behind[channel][alpha]));
        }
        else
        {
            return static_cast<std::uint8_t>((colour * alpha + behind[channel][alpha] + 127) / 255);
        }
    }

    unsigned int behind[3][256];
};

} // namespace

FrameAlpha ReadFrameAlpha(IWICImagingFactory& factory, IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                          const GUID& frameFormat)
{
    const FrameAlpha alpha = AlphaOfFormat(factory, frame, frameFormat);
    GUID container{};
    if (alpha == FrameAlpha::None || decoder.GetContainerFormat(&container) != S_OK ||
        (container != WicFormats::containerBmp && container != WicFormats::containerIco))
    {
        return alpha;
    }
    try
    {
        return AlphaAllZero(factory, frame) ? FrameAlpha::None : alpha;
    }
    catch (const std::bad_alloc&)
    {
        return alpha;
    }
}

std::unique_ptr<StripStage> MakeCompositeStage(FrameAlpha alpha, const BackgroundColour& background)
{
    if (alpha == FrameAlpha::Premultiplied)
    {
        return std::make_unique<CompositeStage<true>>(background);
    }
    return std::make_unique<CompositeStage<false>>(background);
}

} // namespace Tesmo::Plugin::Imaging
