#pragma once

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

// Asked only for a GIF frame that needs composing: true when the host's settings want
// WIC's raw frames instead.
using GifFramesRaw = bool (*)();

// Opens the file at path (8-bit text in the system's ANSI code
// page) through WIC and converts frame frameIndex to packed 24-bit RGB, top-down, stride
// width x 3, in a malloc'ed buffer that belongs to the host. A frame of a GIF animation
// comes composed on the GIF's logical screen, as a viewer shows it, unless gifFramesRaw
// says otherwise. Returns true when every step succeeded; otherwise writes the one
// debugger message of the first failing step and returns false. COM must be initialised
// on the calling thread for the whole call.
bool DecodeFrame(const char* path, unsigned int frameIndex, const FrameOutputs& outputs, GifFramesRaw gifFramesRaw);

} // namespace Tesmo::Plugin::Imaging
