#pragma once

#include "imaging/FrameSettings.h"

namespace Tesmo::Plugin::Imaging
{

// The host's output variables of one GetImageData call. Each is written only by the
// step that delivers it, once that step has succeeded.
struct FrameOutputs
{
    unsigned int& frameCount;
    unsigned int& width;
    unsigned int& height;
    void*& pixels;
    unsigned int& byteCount;
};

// Opens the file at path (8-bit text in the system's ANSI code
// page) through WIC and converts frame frameIndex to packed 24-bit RGB, top-down, stride
// width x 3, in a malloc'ed buffer that belongs to the host. The frame comes as a viewer
// shows it, unless the settings say otherwise: a frame of a GIF animation composed on the
// GIF's logical screen, a frame of an animated PNG composed on its canvas (and counted
// among the animation's frames, which WIC does not count), colours converted to sRGB through the frame's embedded profile,
// transparent parts over the background colour, a JPEG or TIFF photo turned upright as
// its Orientation tag says, a linear-light (HDR) frame tone mapped into sRGB.
// Returns true when every step succeeded; otherwise writes the one debugger message of
// the first failing step and returns false. COM must be initialised on the calling thread
// for the whole call.
bool DecodeFrame(const char* path, unsigned int frameIndex, const FrameOutputs& outputs,
                 const FrameSettings& settings);

} // namespace Tesmo::Plugin::Imaging
