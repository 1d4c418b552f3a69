#pragma once

#include "imaging/animation/GifAnimation.h"

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// Draws the planned frames in order on canvas, the screen's width x height packed 24-bit
// RGB pixels, as GIF89a lays down: the canvas starts in the background colour; before each
// frame the one before it is disposed of (2: its rectangle back to the background, 3: the
// canvas back to what it was before that frame, anything else: left as it is); each frame
// is drawn at its place, clipped to the canvas, its transparent index leaving the canvas
// as it is. Holds one frame's indices at a time, and the region under a frame that
// disposal 3 restores.
//
// S_OK when the last planned frame (frame k) was drawn; otherwise the failure of
// decoding it, with the canvas as far as it got. An earlier frame WIC cannot decode
// contributes no pixels; its disposal still applies.
HRESULT DrawGifComposition(IWICImagingFactory& factory, const GifComposition& plan, BYTE* canvas);

} // namespace Tesmo::Plugin::Imaging
