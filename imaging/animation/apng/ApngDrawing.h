#pragma once

#include "imaging/animation/AnimationCanvas.h"
#include "imaging/animation/apng/ApngFile.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// Draws frame frameIndex (below the file's frame count) of the animation on canvas, opened
// on the file's canvas size and cleared to transparent black, as the APNG format lays
// frames down: from the first frame that still shows in it, each frame in turn at its
// offset, its blend_op replacing its rectangle (source) or compositing over it with
// straight alpha (over), and before the next frame its dispose_op (none; background:
// transparent again; previous: back to what the rectangle was, or transparent for the
// first frame). Each frame's pixels come from WIC's PNG decoder, given the frame as a PNG
// stream of its own in memory, as straight 32bpp BGRA.
//
// A frame as WIC decoded it from its own PNG stream in memory, which the stream's bytes
// outlive. Its stream carries the file's colour chunks: the last frame drawn is what the
// colour step asks for the file's profile, without WIC opening the file itself.
struct DecodedFramePng
{
    std::vector<std::uint8_t> bytes;
    Microsoft::WRL::ComPtr<IWICStream> stream;
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder;
    Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame;
};

// S_OK when every frame drawn was decoded, frame k left in lastFrame; otherwise the first
// failure (WIC refusing a frame's stream, a frame of another size than its fcTL says,
// memory), with the canvas as far as it got.
HRESULT DrawApngFrame(IWICImagingFactory& factory, const ApngFile& file, UINT frameIndex, const AnimationCanvas& canvas,
                      DecodedFramePng& lastFrame);

} // namespace Tesmo::Plugin::Imaging
