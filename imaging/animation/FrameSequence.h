#pragma once

#include "imaging/animation/AnimationCanvas.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// What GIF and animated PNG share: frame k is the canvas after frames 0 to k were drawn in
// order, each in its region, and each but the last disposed of before the next. The
// formats differ only in how a frame's pixels are laid down; the order, the disposal and
// where drawing can start are the same and live here.

// What becomes of a frame's region before the next frame is drawn.
enum class Disposal
{
    Keep,    // left as drawn (GIF 0, 1 and 4 to 7; APNG none)
    Clear,   // back to the canvas's cleared pixel (GIF 2; APNG background)
    Restore, // back to what it was before the frame was drawn (GIF 3; APNG previous)
};

// One frame as the drawing loop sees it: its region on the canvas (empty for a frame with
// nothing to draw) and its disposal.
struct SequenceFrame
{
    CanvasRegion region;
    Disposal disposal = Disposal::Keep;
};

// What the walk back from frame k needs to know of one frame, from its metadata alone.
struct FrameCover
{
    bool coversCanvas = false;     // its region is the whole canvas
    bool hidesWhatIsUnder = false; // drawn, it leaves nothing of the canvas under it showing
    Disposal disposal = Disposal::Keep;
};

// The first frame that still shows in frame frameIndex: drawing from it on a cleared
// canvas gives the same picture as drawing from frame 0. That is frame 0, a frame drawn
// on a canvas the frame before it cleared whole, or a frame that covers the canvas and
// hides what is under it, unless it is restored away before frame k. coverOf(j) is asked
// once for each frame from k back to one before the answer (at most), in that order.
UINT FirstShownFrame(UINT frameIndex, const std::function<FrameCover(UINT)>& coverOf);

// Draws frames (at least one) in order on the canvas: drawFrame(i) lays frame i down in its region;
// before the next frame, frame i's disposal applies (a restore with nothing saved before
// the first frame puts back the cleared canvas, as both formats ask). Holds the region
// under a frame that is restored, one at a time. drawFrame's result for the last frame;
// an earlier frame that fails to draw contributes what it drew, and its disposal still
// applies. Throws std::bad_alloc when a saved region does not fit in memory.
HRESULT DrawSequence(const AnimationCanvas& canvas, const std::vector<SequenceFrame>& frames,
                     const std::function<HRESULT(std::size_t)>& drawFrame);

} // namespace Tesmo::Plugin::Imaging
