#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Tesmo::Benchmarks
{

// An animated PNG made the way stickers and animated emoji are: 100 frames on a 480 x 270
// canvas, transparent around the picture; every tenth frame the whole canvas (blend
// source), the nine between it and the next a 96 x 96 sprite moving over it (blend over,
// dispose previous). Frame 0 is the default image. Each frame's pixels are compressed by
// WIC's own PNG encoder, as a tool would deflate them.
struct StickerAnimation
{
    std::wstring path;
    // Frame k's pixels as the PNG WIC's encoder wrote, a still file of their own: what
    // decoding each frame once with WIC takes.
    std::vector<std::wstring> framePaths;
    // The first frame that frame k is drawn from: the last whole-canvas frame at or before it.
    std::vector<unsigned int> firstDrawn;
    unsigned int width = 0;
    unsigned int height = 0;
    std::size_t fileBytes = 0;
};

// Writes the animation and its frames' PNGs into folder. The calling thread must be in a
// COM apartment, for WIC's encoder.
StickerAnimation WriteStickerAnimation(const std::wstring& folder);

} // namespace Tesmo::Benchmarks
