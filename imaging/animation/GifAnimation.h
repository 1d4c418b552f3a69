#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include <array>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// A GIF frame as WIC hands it over is one image block of an animation: a rectangle
// somewhere on the logical screen, drawn over what the frames before it left there. The
// picture a viewer shows for frame k is the screen after frames 0 to k have been drawn in
// order. This is what composing frame k needs to know, read from metadata alone, before
// any pixel is decoded.

// The logical screen and the colour it starts in.
struct GifScreen
{
    UINT width = 0;
    UINT height = 0;
    std::array<BYTE, 3> background{}; // R, G, B
};

// One image block's place and what happens around it, with the frame WIC handed over, kept
// so that drawing does not fetch it again. A frame WIC cannot hand over (or whose
// rectangle or indices it does not give) is not drawable: it contributes nothing to the
// frames after it.
struct GifFrameRecord
{
    Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame; // null when not drawable
    UINT left = 0;
    UINT top = 0;
    UINT width = 0;
    UINT height = 0;
    UINT disposal = 0; // 0 without a graphic control extension
    bool transparent = false;
    UINT transparentIndex = 0;

    bool Drawable() const { return frame != nullptr; }

    // Whether the frame's rectangle holds the whole screen.
    bool Covers(const GifScreen& screen) const
    {
        return Drawable() && left == 0 && top == 0 && width >= screen.width && height >= screen.height;
    }
};

// What drawing frame k takes: the frames from the first one that still shows in it up
// to k, in order.
struct GifComposition
{
    GifScreen screen;
    UINT firstFrame = 0;
    std::vector<GifFrameRecord> frames; // firstFrame to k
    bool colourless = false; // a frame to draw has no colour table: it cannot be drawn
};

// How frame frameIndex (of frameCount) of the decoder's file, already fetched as frame, is
// composed; nothing when the frame WIC handed over is itself the picture, or cannot be
// composed: a decoder of another container format, a GIF whose single image covers its
// screen, a screen without area, or a decoder that does not give the screen's or frame
// k's metadata (a third-party GIF codec without metadata readers, say).
std::optional<GifComposition> PlanGifComposition(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                                                 IWICBitmapFrameDecode& frame, UINT frameIndex,
                                                 UINT frameCount);

} // namespace Tesmo::Plugin::Imaging
