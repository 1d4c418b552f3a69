#include "imaging/animation/AnimationCanvas.h"

#include "imaging/WicFormats.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace Tesmo::Plugin::Imaging
{

CanvasRegion ClipToCanvas(UINT left, UINT top, UINT width, UINT height, UINT canvasWidth, UINT canvasHeight)
{
    const auto right = static_cast<UINT>(std::min<std::uint64_t>(std::uint64_t{left} + width, canvasWidth));
    const auto bottom = static_cast<UINT>(std::min<std::uint64_t>(std::uint64_t{top} + height, canvasHeight));
    if (left >= right || top >= bottom)
    {
        return CanvasRegion{};
    }
    return CanvasRegion{left, top, right - left, bottom - top};
}

HRESULT AnimationCanvas::Open(IWICImagingFactory& factory, UINT canvasWidth, UINT canvasHeight,
                              const BgraPixel& clearedPixel)
{
    const std::uint64_t rowBytes = std::uint64_t{canvasWidth} * 4;
    if (canvasWidth == 0 || canvasHeight == 0 || rowBytes * canvasHeight > UINT32_MAX)
    {
        return E_OUTOFMEMORY;
    }
    HRESULT result = factory.CreateBitmap(canvasWidth, canvasHeight, WicFormats::pixel32bppBgra,
                                          WICBitmapCacheOnLoad, &bitmap);
    const WICRect whole{0, 0, static_cast<INT>(canvasWidth), static_cast<INT>(canvasHeight)};
    if (result == S_OK)
    {
        result = bitmap->Lock(&whole, WICBitmapLockWrite, &lock);
    }
    UINT size = 0;
    if (result == S_OK)
    {
        result = lock->GetStride(&stride);
    }
    if (result == S_OK)
    {
        result = lock->GetDataPointer(&size, &pixels);
    }
    // Rows padded or not, the lock must hold every row it claims to.
    if (result == S_OK && (pixels == nullptr || stride < rowBytes ||
                           std::uint64_t{stride} * (canvasHeight - 1) + rowBytes > size))
    {
        result = E_UNEXPECTED;
    }
    if (result != S_OK)
    {
        lock.Reset();
        bitmap.Reset();
        pixels = nullptr;
        return result;
    }
    width = canvasWidth;
    height = canvasHeight;
    cleared = clearedPixel;
    Clear(CanvasRegion{0, 0, width, height});
    return S_OK;
}

void AnimationCanvas::Clear(const CanvasRegion& region) const
{
    for (UINT y = region.y; y < region.y + region.height; ++y)
    {
        BYTE* pixel = At(region.x, y);
        for (UINT x = 0; x < region.width; ++x, pixel += 4)
        {
            std::memcpy(pixel, cleared.data(), 4);
        }
    }
}

void AnimationCanvas::Save(const CanvasRegion& region, std::vector<BYTE>& saved) const
{
    const std::size_t rowBytes = std::size_t{region.width} * 4;
    saved.resize(rowBytes * region.height);
    for (UINT row = 0; row < region.height; ++row)
    {
        std::memcpy(&saved[row * rowBytes], At(region.x, region.y + row), rowBytes);
    }
}

void AnimationCanvas::Restore(const CanvasRegion& region, const std::vector<BYTE>& saved) const
{
    const std::size_t rowBytes = std::size_t{region.width} * 4;
    for (UINT row = 0; row < region.height; ++row)
    {
        std::memcpy(At(region.x, region.y + row), &saved[row * rowBytes], rowBytes);
    }
}

Microsoft::WRL::ComPtr<IWICBitmap> AnimationCanvas::Finish()
{
    // A bitmap may refuse to be read (WINCODEC_ERR_ALREADYLOCKED) while a write lock on
    // it is held.
    lock.Reset();
    pixels = nullptr;
    return std::move(bitmap);
}

} // namespace Tesmo::Plugin::Imaging
