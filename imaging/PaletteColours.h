#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include <array>

namespace Tesmo::Plugin::Imaging
{

// The colours of a palette WIC gives: a GIF's global table (from the decoder) or the
// table a frame is drawn with (from the frame).
struct PaletteColours
{
    std::array<WICColor, 256> colours{}; // 0xAARRGGBB
    UINT count = 0;

    // An index past the table's end has no colour of its own; it shows black, the same
    // on every call.
    std::array<BYTE, 3> Rgb(UINT index) const
    {
        const WICColor colour = index < count ? colours[index] : 0;
        return {static_cast<BYTE>(colour >> 16), static_cast<BYTE>(colour >> 8), static_cast<BYTE>(colour)};
    }
};

// Source: IWICBitmapDecoder or IWICBitmapSource, whose CopyPalette calls differ only in
// their interface.
template <class Source>
HRESULT CopyPaletteColours(IWICImagingFactory& factory, Source& source, PaletteColours& palette)
{
    Microsoft::WRL::ComPtr<IWICPalette> wicPalette;
    HRESULT result = factory.CreatePalette(&wicPalette);
    if (result == S_OK)
    {
        result = source.CopyPalette(wicPalette.Get());
    }
    if (result == S_OK)
    {
        result = wicPalette->GetColors(static_cast<UINT>(palette.colours.size()), palette.colours.data(),
                                       &palette.count);
    }
    return result;
}

} // namespace Tesmo::Plugin::Imaging
