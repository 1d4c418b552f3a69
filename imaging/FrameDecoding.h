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

// The settings that give a frame back as WIC hands it over rather than as a viewer shows
// it. Each is asked only when its answer changes the frame, so that no other decode
// reads the settings file.
struct RawFrameSettings
{
    bool (*gifFrames)();   // asked for a GIF frame that needs composing
    bool (*orientation)(); // asked for a JPEG or TIFF frame whose tag asks for a turn
};

// Opens the file at path (8-bit text in the system's ANSI code
// page) through WIC and converts frame frameIndex to packed 24-bit RGB, top-down, stride
// width x 3, in a malloc'ed buffer that belongs to the host. The frame comes as a viewer
// shows it, unless rawFrames says otherwise: a frame of a GIF animation composed on the
// GIF's logical screen, a JPEG or TIFF photo turned upright as its Orientation tag says.
// Returns true when every step succeeded; otherwise writes the one debugger message of
// the first failing step and returns false. COM must be initialised on the calling thread
// for the whole call.
bool DecodeFrame(const char* path, unsigned int frameIndex, const FrameOutputs& outputs,
                 const RawFrameSettings& rawFrames);

} // namespace Tesmo::Plugin::Imaging
