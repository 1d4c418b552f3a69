#include "imaging/animation/GifDrawing.h"

#include "imaging/PaletteColours.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// The part of a frame's rectangle that lies on the canvas, in canvas pixels.
struct Region
{
    UINT x = 0;
    UINT y = 0;
    UINT width = 0;
    UINT height = 0;
};

// In 64 bits: the offsets are 16-bit, but a decoder's frame size need not be.
Region OnCanvas(const GifFrameRecord& frame, const GifScreen& screen)
{
    const auto right = static_cast<UINT>(std::min<std::uint64_t>(std::uint64_t{frame.left} + frame.width, screen.width));
    const auto bottom = static_cast<UINT>(std::min<std::uint64_t>(std::uint64_t{frame.top} + frame.height, screen.height));
    if (!frame.Drawable() || frame.left >= right || frame.top >= bottom)
    {
        return Region{};
    }
    return Region{frame.left, frame.top, right - frame.left, bottom - frame.top};
}

class Canvas
{
public:
    Canvas(BYTE* pixels, const GifScreen& screen) : pixels(pixels), stride(std::size_t{screen.width} * 3) {}

    BYTE* At(UINT x, UINT y) const { return pixels + y * stride + std::size_t{x} * 3; }

    void Fill(const Region& region, const std::array<BYTE, 3>& colour) const
    {
        for (UINT y = region.y; y < region.y + region.height; ++y)
        {
            BYTE* pixel = At(region.x, y);
            for (UINT x = 0; x < region.width; ++x, pixel += 3)
            {
                std::memcpy(pixel, colour.data(), 3);
            }
        }
    }

    // Copies the region's rows out of the canvas (into saved) or back into it.
    void Save(const Region& region, std::vector<BYTE>& saved) const
    {
        saved.resize(std::size_t{region.width} * region.height * 3);
        for (UINT row = 0; row < region.height; ++row)
        {
            std::memcpy(&saved[std::size_t{row} * region.width * 3], At(region.x, region.y + row), region.width * 3);
        }
    }

    void Restore(const Region& region, const std::vector<BYTE>& saved) const
    {
        for (UINT row = 0; row < region.height; ++row)
        {
            std::memcpy(At(region.x, region.y + row), &saved[std::size_t{row} * region.width * 3], region.width * 3);
        }
    }

private:
    BYTE* pixels;
    std::size_t stride;
};

// Decodes only the part of the frame that lies on the canvas, as palette indices, and
// writes every index but the transparent one in its palette colour.
HRESULT DrawFrame(IWICImagingFactory& factory, const GifFrameRecord& record, const Region& region,
                  const Canvas& canvas, std::vector<BYTE>& indices)
{
    if (region.width == 0 || region.height == 0)
    {
        return S_OK; // wholly off the canvas, or not drawable
    }
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
        for (UINT x = 0; x < region.width; ++x, ++source, pixel += 3)
        {
            if (!record.transparent || *source != record.transparentIndex)
            {
                std::memcpy(pixel, palette.Rgb(*source).data(), 3);
            }
        }
    }
    return S_OK;
}

HRESULT Draw(IWICImagingFactory& factory, const GifComposition& plan, BYTE* pixels)
{
    const Canvas canvas(pixels, plan.screen);
    canvas.Fill(Region{0, 0, plan.screen.width, plan.screen.height}, plan.screen.background);
    std::vector<BYTE> indices;
    std::vector<BYTE> saved;
    const std::size_t last = plan.frames.size() - 1;
    for (std::size_t step = 0;; ++step)
    {
        const GifFrameRecord& record = plan.frames[step];
        const Region region = OnCanvas(record, plan.screen);
        const bool restoresCanvas = step < last && record.disposal == 3;
        if (restoresCanvas)
        {
            canvas.Save(region, saved);
        }
        const HRESULT drawn = DrawFrame(factory, record, region, canvas, indices);
        if (step == last)
        {
            return drawn;
        }
        if (record.disposal == 2)
        {
            canvas.Fill(region, plan.screen.background);
        }
        else if (restoresCanvas)
        {
            canvas.Restore(region, saved);
        }
    }
}

} // namespace

HRESULT DrawGifComposition(IWICImagingFactory& factory, const GifComposition& plan, BYTE* canvas)
{
    try
    {
        return Draw(factory, plan, canvas);
    }
    catch (const std::bad_alloc&)
    {
        // A frame's indices or a saved region; the canvas the host owns stays as it got.
        return E_OUTOFMEMORY;
    }
}

} // namespace Tesmo::Plugin::Imaging
