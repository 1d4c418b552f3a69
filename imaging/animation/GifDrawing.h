#pragma once

#include "imaging/animation/AnimationCanvas.h"
#include "imaging/animation/GifAnimation.h"

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// Draws the planned frames in order on canvas, opened on the screen's size and cleared to
// the screen's background colour, transparent: as a browser shows a GIF, the screen
// starts transparent and disposal 2 makes its rectangle transparent again, while the
// colour under the transparency stays the GIF's background for a host that drops alpha.
// Disposal 3 puts back the canvas as it was before that frame; each frame is drawn at its
// place, clipped to the canvas, opaque, its transparent index leaving the canvas as it is.
// Holds one frame's indices at a time.
//
// S_OK when the last planned frame (frame k) was drawn; otherwise the failure of
// decoding it, with the canvas as far as it got. An earlier frame WIC cannot decode
// contributes no pixels; its disposal still applies.
HRESULT DrawGifComposition(IWICImagingFactory& factory, const GifComposition& plan, const AnimationCanvas& canvas);

// The pixel a GIF's canvas is cleared to: the background colour, transparent.
BgraPixel GifClearedPixel(const GifScreen& screen);

} // namespace Tesmo::Plugin::Imaging
