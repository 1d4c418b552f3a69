#include "imaging/GifAnimation.h"

#include "imaging/PaletteColours.h"

#include <propidl.h>
#include <wrl/client.h>

#include <algorithm>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

constexpr GUID containerFormatGif = {0x1f8a5601, 0x7d4d, 0x4cbd, {0x9c, 0x82, 0x1b, 0xc8, 0xd4, 0xee, 0xb9, 0xa5}};
constexpr GUID pixelFormat8bppIndexed = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x04}};

// One numeric item of a query reader. GIF's fields come as VT_UI1, VT_UI2 or VT_BOOL; a
// missing item (WINCODEC_ERR_PROPERTYNOTFOUND) or another type leaves value as it was.
bool ReadItem(IWICMetadataQueryReader& reader, const wchar_t* name, UINT& value)
{
    PROPVARIANT item;
    PropVariantInit(&item);
    if (reader.GetMetadataByName(name, &item) != S_OK)
    {
        return false;
    }
    bool read = true;
    switch (item.vt)
    {
    case VT_UI1:
        value = item.bVal;
        break;
    case VT_UI2:
        value = item.uiVal;
        break;
    case VT_BOOL:
        value = item.boolVal != VARIANT_FALSE ? 1 : 0;
        break;
    default:
        read = false;
        break;
    }
    PropVariantClear(&item);
    return read;
}

// The logical screen's size; nothing when the decoder does not give it or the screen has
// no area to draw on.
std::optional<GifScreen> ReadScreen(IWICMetadataQueryReader& reader)
{
    GifScreen screen;
    if (!ReadItem(reader, L"/logscrdesc/Width", screen.width) || !ReadItem(reader, L"/logscrdesc/Height", screen.height) ||
        screen.width == 0 || screen.height == 0)
    {
        return std::nullopt;
    }
    return screen;
}

// Black unless the global table holds the background index. The flag decides, not the
// palette: a decoder may hand over a palette of its own for a file without one.
std::array<BYTE, 3> ReadBackground(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                                   IWICMetadataQueryReader& reader)
{
    UINT hasGlobalTable = 0;
    UINT backgroundIndex = 0;
    PaletteColours global;
    if (ReadItem(reader, L"/logscrdesc/GlobalColorTableFlag", hasGlobalTable) && hasGlobalTable != 0 &&
        ReadItem(reader, L"/logscrdesc/BackgroundColorIndex", backgroundIndex) &&
        CopyPaletteColours(factory, decoder, global) == S_OK)
    {
        return global.Rgb(backgroundIndex);
    }
    return {};
}

GifFrameRecord ReadFrameRecord(IWICBitmapDecoder& decoder, UINT index)
{
    GifFrameRecord record;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICMetadataQueryReader> reader;
    WICPixelFormatGUID format{};
    // Drawing needs the frame's indices, to leave its transparent ones out.
    if (decoder.GetFrame(index, &frame) != S_OK || frame->GetSize(&record.width, &record.height) != S_OK ||
        frame->GetPixelFormat(&format) != S_OK || format != pixelFormat8bppIndexed ||
        frame->GetMetadataQueryReader(&reader) != S_OK || !ReadItem(*reader.Get(), L"/imgdesc/Left", record.left) ||
        !ReadItem(*reader.Get(), L"/imgdesc/Top", record.top))
    {
        return GifFrameRecord{};
    }
    record.drawable = true;
    // Without a graphic control extension these items are missing: disposal 0 and no
    // transparent colour.
    ReadItem(*reader.Get(), L"/grctlext/Disposal", record.disposal);
    UINT transparent = 0;
    record.transparent = ReadItem(*reader.Get(), L"/grctlext/TransparencyFlag", transparent) && transparent != 0 &&
                         ReadItem(*reader.Get(), L"/grctlext/TransparentColorIndex", record.transparentIndex);
    return record;
}

} // namespace

std::optional<GifComposition> PlanGifComposition(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                                                 UINT frameIndex, UINT frameCount)
{
    GUID container{};
    if (decoder.GetContainerFormat(&container) != S_OK || container != containerFormatGif)
    {
        return std::nullopt;
    }
    ComPtr<IWICMetadataQueryReader> reader;
    if (decoder.GetMetadataQueryReader(&reader) != S_OK)
    {
        return std::nullopt;
    }
    const std::optional<GifScreen> screen = ReadScreen(*reader.Get());
    if (!screen)
    {
        return std::nullopt;
    }
    GifComposition plan{*screen, frameIndex, {ReadFrameRecord(decoder, frameIndex)}};
    if (!plan.frames.front().drawable || (frameCount == 1 && plan.frames.front().Covers(*screen)))
    {
        return std::nullopt;
    }
    // Only now that the frame is known to need composing: a still GIF pays for none of it.
    plan.screen.background = ReadBackground(factory, decoder, *reader.Get());

    // Back from frame k to the first frame that still shows in it. Drawing can start
    // afresh on the background at frame 0, at a frame the frame before it cleared the whole
    // screen for, or at an opaque frame covering the screen, unless that frame is
    // restored away (disposal 3) before frame k.
    while (plan.firstFrame > 0)
    {
        const GifFrameRecord& first = plan.frames.back();
        if (first.Covers(*screen) && !first.transparent && (plan.firstFrame == frameIndex || first.disposal != 3))
        {
            break;
        }
        GifFrameRecord before = ReadFrameRecord(decoder, plan.firstFrame - 1);
        if (before.Covers(*screen) && before.disposal == 2)
        {
            break;
        }
        plan.frames.push_back(before);
        --plan.firstFrame;
    }
    std::reverse(plan.frames.begin(), plan.frames.end());
    return plan;
}

} // namespace Tesmo::Plugin::Imaging
