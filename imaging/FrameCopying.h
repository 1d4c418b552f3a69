#pragma once

#include "imaging/FrameDecoding.h"
#include "imaging/PixelPlanning.h"

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// A frame's pixels as the source gives them (a decoded frame, or an animation's canvas),
// and the turn that makes them upright.
struct StoredFrame
{
    UINT width;
    UINT height;
    UINT orientation;
};

// Without dithering or a palette of its own.
HRESULT InitializeConverter(IWICFormatConverter* converter, IWICBitmapSource* source, const GUID& format);

// The host's buffer for a width x height frame of packed 24-bit RGB, handed to the host
// (pixels, byteCount) as soon as it is allocated, so that a host can show a partly
// decoded frame when the copy itself fails. In 32 bits a crafted header could wrap the
// size and have the copy write past a small buffer: a size that does not fit in 32 bits
// gets no buffer, and neither does one malloc cannot provide (null either way).
BYTE* AllocateForHost(UINT width, UINT height, const FrameOutputs& outputs);

// Copies the source through the plan's steps, turned upright, into the host's buffer of
// size bytes: from the source itself when the plan reads it in its own format, otherwise
// through converter, already initialised on the source for the plan's format.
HRESULT CopyPlanned(IWICImagingFactory& factory, IWICBitmapSource& source, IWICFormatConverter& converter,
                    const StoredFrame& stored, const PixelPlan& plan, UINT size, BYTE* buffer);

} // namespace Tesmo::Plugin::Imaging
