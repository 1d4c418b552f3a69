#pragma once

#include "imaging/StripStage.h"

#include <wincodec.h>

#include <array>
#include <cstdint>
#include <memory>

namespace Tesmo::Plugin::Imaging
{

// A viewer shows a frame's transparent parts as its background; the host, given 24-bit
// RGB, would show whatever colours the file keeps under them (the picture that was cut
// away, colours an encoder smeared there to compress better, or a second picture hidden
// on purpose). So a frame with alpha is composited over a background colour.

enum class FrameAlpha
{
    None,
    Straight,      // colours as they are, alpha beside them
    Premultiplied, // colours already multiplied by alpha (32bppPBGRA, PRGBA)
};

// R, G, B.
using BackgroundColour = std::array<std::uint8_t, 3>;

// Whether the frame's pixels carry alpha, as WIC reports them: a pixel format with an
// alpha channel, or a palette with entries that are not opaque (a PNG's tRNS, a GIF's
// transparent colour). BMP and ICO frames whose alpha is 0 in every pixel are opaque:
// many 32-bit writers of those formats leave that byte 0, and browsers show them so.
FrameAlpha ReadFrameAlpha(IWICImagingFactory& factory, IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                          const GUID& frameFormat);

// The alpha step of the strip walker, from Bgra32 (Straight) or Pbgra32 (Premultiplied)
// to Rgb24, each pixel over background, rounded to the nearest level:
//   straight:      (c * a + bg * (255 - a)) / 255
//   premultiplied:  c + bg * (255 - a) / 255
std::unique_ptr<StripStage> MakeCompositeStage(FrameAlpha alpha, const BackgroundColour& background);

} // namespace Tesmo::Plugin::Imaging
