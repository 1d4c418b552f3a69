#include "imaging/animation/FrameSequence.h"

namespace Tesmo::Plugin::Imaging
{

UINT FirstShownFrame(UINT frameIndex, const std::function<FrameCover(UINT)>& coverOf)
{
    UINT first = frameIndex;
    FrameCover cover = coverOf(first);
    while (first > 0)
    {
        // A frame restored away before frame k leaves what was under it.
        if (cover.coversCanvas && cover.hidesWhatIsUnder && (first == frameIndex || cover.disposal != Disposal::Restore))
        {
            break;
        }
        const FrameCover before = coverOf(first - 1);
        // Restoring the first frame puts back the cleared canvas.
        const bool clearsAll = before.disposal == Disposal::Clear || (first == 1 && before.disposal == Disposal::Restore);
        if (before.coversCanvas && clearsAll)
        {
            break;
        }
        cover = before;
        --first;
    }
    return first;
}

HRESULT DrawSequence(const AnimationCanvas& canvas, const std::vector<SequenceFrame>& frames,
                     const std::function<HRESULT(std::size_t)>& drawFrame)
{
    std::vector<BYTE> saved;
    const std::size_t last = frames.size() - 1;
    for (std::size_t step = 0;; ++step)
    {
        const SequenceFrame& frame = frames[step];
        const bool restores = step < last && frame.disposal == Disposal::Restore;
        if (restores)
        {
            canvas.Save(frame.region, saved);
        }
        const HRESULT drawn = frame.region.Empty() ? S_OK : drawFrame(step);
        if (step == last)
        {
            return drawn;
        }
        if (frame.disposal == Disposal::Clear)
        {
            canvas.Clear(frame.region);
        }
        else if (restores)
        {
            canvas.Restore(frame.region, saved);
        }
    }
}

} // namespace Tesmo::Plugin::Imaging
