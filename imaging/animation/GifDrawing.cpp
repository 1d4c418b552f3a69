#include "imaging/animation/GifDrawing.h"

#include "imaging/animation/FrameSequence.h"
#include "imaging/PaletteColours.h"

#include <cstddef>
#include <new>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

namespace
{

CanvasRegion OnCanvas(const GifFrameRecord& frame, const GifScreen& screen)
{
    return frame.Drawable() ? ClipToCanvas(frame.left, frame.top, frame.width, frame.height, screen.width, screen.height)
                            : CanvasRegion{};
}

// Decodes only the part of the frame that lies on the canvas, as palette indices, and
// writes every index but the transparent one in its palette colour, opaque.
HRESULT DrawFrame(IWICImagingFactory& factory, const GifFrameRecord& record, const CanvasRegion& region,
                  const AnimationCanvas& canvas, std::vector<BYTE>& indices)
{
    PaletteColours palette;
    const WICRect part{static_cast<INT>(region.x - record.left), static_cast<INT>(region.y - record.top),
                       static_cast<INT>(region.width), static_cast<INT>(region.height)};
    indices.resize(std::size_t{region.width} * region.height);
    HRESULT result = record.frame->CopyPixels(&part, region.width, static_cast<UINT>(indices.size()), indices.data());
    if (result == S_OK)
    {
        result = CopyPaletteColours(factory, *record.frame.Get(), palette);
    }
    if (result != S_OK)
    {
        return result;
    }
    const BYTE* source = indices.data();
    for (UINT y = 0; y < region.height; ++y)
    {
        BYTE* pixel = canvas.At(region.x, region.y + y);
        for (UINT x = 0; x < region.width; ++x, ++source, pixel += 4)
        {
            if (!record.transparent || *source != record.transparentIndex)
            {
                const std::array<BYTE, 3> rgb = palette.Rgb(*source);
                pixel[0] = rgb[2];
                pixel[1] = rgb[1];
                pixel[2] = rgb[0];
                pixel[3] = 0xFF;
            }
        }
    }
    return S_OK;
}

HRESULT Draw(IWICImagingFactory& factory, const GifComposition& plan, const AnimationCanvas& canvas)
{
    std::vector<SequenceFrame> frames;
    for (const GifFrameRecord& record : plan.frames)
    {
        frames.push_back({OnCanvas(record, plan.screen), record.disposal});
    }
    std::vector<BYTE> indices;
    return DrawSequence(canvas, frames, [&](std::size_t step) {
        return DrawFrame(factory, plan.frames[step], frames[step].region, canvas, indices);
    });
}

} // namespace

BgraPixel GifClearedPixel(const GifScreen& screen)
{
    return {screen.background[2], screen.background[1], screen.background[0], 0};
}

HRESULT DrawGifComposition(IWICImagingFactory& factory, const GifComposition& plan, const AnimationCanvas& canvas)
{
    try
    {
        return Draw(factory, plan, canvas);
    }
    catch (const std::bad_alloc&)
    {
        // A frame's indices or a saved region; the canvas stays as it got.
        return E_OUTOFMEMORY;
    }
}

} // namespace Tesmo::Plugin::Imaging
