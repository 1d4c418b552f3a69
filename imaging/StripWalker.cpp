#include "imaging/StripWalker.h"

#include "imaging/StripPlacement.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// About this many bytes of stored rows are read at a time: few enough to stay in the
// processor's cache while the steps run and the rows are placed, many enough that a
// decoder's per-call cost does not count.
constexpr std::size_t stripBytes = 256 * 1024;

std::size_t ReadPixelBytes(const PixelSteps& steps)
{
    return steps.layout == StripLayout::Scrgb ? steps.scrgbBytes : BytesPerPixel(steps.layout);
}

std::size_t WidestPixel(const PixelSteps& steps)
{
    // Every step leaves RGB or a layout no wider than the one read, but for grey words
    // (two bytes) that become RGB (three).
    return std::max<std::size_t>(ReadPixelBytes(steps), 3);
}

void RunSteps(const PixelSteps& steps, BYTE* strip, std::size_t count)
{
    for (const std::unique_ptr<StripStage>& stage : steps.stages)
    {
        stage->Run(strip, count);
    }
}

HRESULT CopyRows(IWICBitmapSource& source, UINT width, UINT top, UINT rows, std::size_t rowBytes, BYTE* to)
{
    const WICRect part{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
    return source.CopyPixels(&part, static_cast<UINT>(rowBytes), static_cast<UINT>(rowBytes * rows), to);
}

HRESULT Walk(IWICBitmapSource& source, UINT width, UINT height, const PixelSteps& steps, UINT orientation,
             BYTE* pixels)
{
    const std::size_t readRowBytes = std::size_t{width} * ReadPixelBytes(steps);
    const std::size_t rgbRowBytes = std::size_t{width} * 3;
    if (readRowBytes == 0 || readRowBytes > UINT32_MAX)
    {
        return WINCODEC_ERR_VALUEOUTOFRANGE; // a row WIC could not be asked for
    }
    const auto stripRows = static_cast<UINT>(std::clamp<std::size_t>(stripBytes / readRowBytes, 1, height));
    // Rows read as RGB into an upright frame land where they stay, and the steps run there.
    // No pixels: a scan, nothing placed.
    const bool inPlace = steps.layout == StripLayout::Rgb24 && orientation == uprightOrientation && pixels != nullptr;
    std::vector<BYTE> strip(inPlace ? 0 : std::size_t{width} * stripRows * WidestPixel(steps) + 1);
    for (UINT top = 0; top < height; top += stripRows)
    {
        const UINT rows = std::min(stripRows, height - top);
        BYTE* const to = inPlace ? pixels + rgbRowBytes * top : strip.data();
        const HRESULT copied = CopyRows(source, width, top, rows, readRowBytes, to);
        if (copied != S_OK)
        {
            return copied;
        }
        RunSteps(steps, to, std::size_t{width} * rows);
        if (inPlace || pixels == nullptr)
        {
            continue;
        }
        if (orientation == uprightOrientation)
        {
            std::memcpy(pixels + rgbRowBytes * top, strip.data(), rgbRowBytes * rows);
        }
        else
        {
            PlaceStrip(strip.data(), width, height, top, rows, orientation, pixels);
        }
    }
    return S_OK;
}

} // namespace

HRESULT WalkStrips(IWICBitmapSource& source, UINT width, UINT height, const PixelSteps& steps, UINT orientation,
                   BYTE* pixels)
{
    if (width == 0 || height == 0)
    {
        return S_OK; // nothing to place
    }
    try
    {
        return Walk(source, width, height, steps, orientation, pixels);
    }
    catch (const std::bad_alloc&)
    {
        // The strip; the buffer the host owns stays as it got.
        return E_OUTOFMEMORY;
    }
}

HRESULT ScanStrips(IWICBitmapSource& source, UINT width, UINT height, const PixelSteps& steps)
{
    return WalkStrips(source, width, height, steps, uprightOrientation, nullptr);
}

} // namespace Tesmo::Plugin::Imaging
