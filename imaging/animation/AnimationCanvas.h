#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include <array>
#include <cstddef>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The part of a frame's rectangle that lies on an animation's canvas, in canvas pixels.
struct CanvasRegion
{
    UINT x = 0;
    UINT y = 0;
    UINT width = 0;
    UINT height = 0;

    bool Empty() const { return width == 0 || height == 0; }
};

// The rectangle at (left, top) of width x height, cut at the canvas's edges; empty when
// none of it lies on the canvas. Worked out in 64 bits, whatever size a file claims.
CanvasRegion ClipToCanvas(UINT left, UINT top, UINT width, UINT height, UINT canvasWidth, UINT canvasHeight);

// B, G, R, A with straight alpha: the canvas's pixels, and what a frame is decoded to.
using BgraPixel = std::array<BYTE, 4>;

// The picture an animation's frames are drawn on, as a browser keeps it: 32bpp BGRA with
// straight alpha, in a WIC bitmap, so that once drawn it is read like any decoded frame
// (through the colour and transparency steps) without a copy. Pixels left transparent
// keep the colour the canvas was cleared with, for a host that asks for raw alpha.
class AnimationCanvas
{
public:
    // A width x height canvas with every pixel cleared; the failure of making or locking
    // it otherwise (a size whose bytes do not fit in 32 bits gives E_OUTOFMEMORY).
    HRESULT Open(IWICImagingFactory& factory, UINT width, UINT height, const BgraPixel& cleared);

    UINT Width() const { return width; }
    UINT Height() const { return height; }
    UINT Stride() const { return stride; }
    BYTE* At(UINT x, UINT y) const { return pixels + std::size_t{y} * stride + std::size_t{x} * 4; }

    // Back to the pixel the canvas was opened with.
    void Clear(const CanvasRegion& region) const;

    // Copies the region's rows out of the canvas (into saved) or back into it.
    void Save(const CanvasRegion& region, std::vector<BYTE>& saved) const;
    void Restore(const CanvasRegion& region, const std::vector<BYTE>& saved) const;

    // Ends drawing and hands over the canvas to be read; null when it was never opened.
    Microsoft::WRL::ComPtr<IWICBitmap> Finish();

private:
    Microsoft::WRL::ComPtr<IWICBitmap> bitmap;
    Microsoft::WRL::ComPtr<IWICBitmapLock> lock;
    BYTE* pixels = nullptr;
    UINT stride = 0;
    UINT width = 0;
    UINT height = 0;
    BgraPixel cleared{};
};

} // namespace Tesmo::Plugin::Imaging
