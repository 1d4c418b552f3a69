#include "imaging/animation/GifAnimation.h"

#include "imaging/animation/GifColourTables.h"
#include "imaging/MetadataItems.h"
#include "imaging/PaletteColours.h"
#include "imaging/WicFormats.h"

#include <algorithm>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;


// The logical screen's size; nothing when the decoder does not give it or the screen has
// no area to draw on.
std::optional<GifScreen> ReadScreen(IWICMetadataQueryReader& reader)
{
    GifScreen screen;
    if (!ReadNumber(reader, L"/logscrdesc/Width", screen.width) ||
        !ReadNumber(reader, L"/logscrdesc/Height", screen.height) || screen.width == 0 || screen.height == 0)
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
    UINT backgroundIndex = 0;
    PaletteColours global;
    if (HasGlobalColourTable(reader) && ReadNumber(reader, L"/logscrdesc/BackgroundColorIndex", backgroundIndex) &&
        CopyPaletteColours(factory, decoder, global) == S_OK)
    {
        return global.Rgb(backgroundIndex);
    }
    return {};
}

// A frame's place and graphic control, read through its block readers, which hand over
// the frame's metadata blocks directly; a query reader finds each item by parsing a path,
// about a hundred times slower per frame under Wine. The image descriptor is the first
// block that gives Left and Top, the graphic control extension the first that gives
// Disposal. Asking a block for its metadata format would tell the same, but Wine answers
// that from the registry on every call: 33 microseconds a block, nine tenths of what
// planning a frame would cost, where an item costs under one.
bool ReadBlocks(IWICBitmapFrameDecode& frame, GifFrameRecord& record)
{
    ComPtr<IWICMetadataBlockReader> blocks;
    UINT count = 0;
    if (frame.QueryInterface(IID_PPV_ARGS(&blocks)) != S_OK || blocks->GetCount(&count) != S_OK)
    {
        return false;
    }
    bool placed = false;
    bool controlled = false; // without a graphic control extension: disposal 0, nothing transparent
    for (UINT index = 0; index < count && !(placed && controlled); ++index)
    {
        // Wine hands over a block that failed to load as a null reader, with S_OK.
        ComPtr<IWICMetadataReader> block;
        if (blocks->GetReaderByIndex(index, &block) != S_OK || block == nullptr)
        {
            continue;
        }
        if (!placed && ReadNumber(*block.Get(), L"Left", record.left))
        {
            placed = ReadNumber(*block.Get(), L"Top", record.top);
        }
        else if (UINT disposal = 0; !controlled && ReadNumber(*block.Get(), L"Disposal", disposal))
        {
            controlled = true;
            record.disposal = disposal == 2 ? Disposal::Clear : disposal == 3 ? Disposal::Restore : Disposal::Keep;
            UINT transparent = 0;
            record.transparent = ReadNumber(*block.Get(), L"TransparencyFlag", transparent) && transparent != 0 &&
                                 ReadNumber(*block.Get(), L"TransparentColorIndex", record.transparentIndex);
        }
    }
    return placed;
}

GifFrameRecord ReadFrameRecord(ComPtr<IWICBitmapFrameDecode> frame)
{
    GifFrameRecord record;
    WICPixelFormatGUID format{};
    // Drawing needs the frame's indices, to leave its transparent ones out.
    if (frame == nullptr || frame->GetSize(&record.width, &record.height) != S_OK ||
        frame->GetPixelFormat(&format) != S_OK || format != WicFormats::pixel8bppIndexed ||
        !ReadBlocks(*frame.Get(), record))
    {
        return GifFrameRecord{};
    }
    record.frame = std::move(frame);
    return record;
}

GifFrameRecord ReadFrameRecord(IWICBitmapDecoder& decoder, UINT index)
{
    ComPtr<IWICBitmapFrameDecode> frame;
    return decoder.GetFrame(index, &frame) == S_OK ? ReadFrameRecord(std::move(frame)) : GifFrameRecord{};
}

} // namespace

std::optional<GifComposition> PlanGifComposition(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                                                 IWICBitmapFrameDecode& frame, UINT frameIndex,
                                                 UINT frameCount)
{
    GUID container{};
    if (decoder.GetContainerFormat(&container) != S_OK || container != WicFormats::containerGif)
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
    GifComposition plan{*screen, frameIndex, {ReadFrameRecord(ComPtr<IWICBitmapFrameDecode>(&frame))}};
    if (!plan.frames.front().Drawable() || (frameCount == 1 && plan.frames.front().Covers(*screen)))
    {
        return std::nullopt;
    }
    // Only now that the frame is known to need composing: a still GIF pays for none of it.
    plan.screen.background = ReadBackground(factory, decoder, *reader.Get());

    // Back from frame k to the first frame that still shows in it; the records read on
    // the way are the frames drawn, fetched once.
    const UINT firstFrame = FirstShownFrame(frameIndex, [&](UINT index) {
        if (index != frameIndex)
        {
            plan.frames.push_back(ReadFrameRecord(decoder, index));
        }
        return plan.frames.back().Cover(*screen);
    });
    plan.frames.resize(frameIndex - firstFrame + 1); // without the one before, read to see it clear the screen
    plan.firstFrame = firstFrame;
    std::reverse(plan.frames.begin(), plan.frames.end());
    plan.colourless = !HasGlobalColourTable(*reader.Get()) &&
                      std::any_of(plan.frames.begin(), plan.frames.end(), [](const GifFrameRecord& record) {
                          return record.Drawable() && !HasLocalColourTable(*record.frame.Get());
                      });
    return plan;
}

} // namespace Tesmo::Plugin::Imaging
