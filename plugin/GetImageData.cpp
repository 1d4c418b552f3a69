#include "plugin/WicImagePlugin.h"

#include "imaging/ComInitialization.h"
#include "imaging/FrameDecoding.h"

using Tesmo::Plugin::Imaging::ComInitialization;
using Tesmo::Plugin::Imaging::DecodeFrame;
using Tesmo::Plugin::Imaging::FrameOutputs;

extern "C" int __cdecl GetImageData(const char* path, unsigned int frameIndex, unsigned int* frameCount,
                                    unsigned int* width, unsigned int* height, void** pixels,
                                    unsigned int* byteCount)
{
    // A host that passes null pointers gets a failure before anything is written or any
    // message is sent.
    if (path == nullptr || frameCount == nullptr || width == nullptr || height == nullptr || pixels == nullptr ||
        byteCount == nullptr)
    {
        return -1;
    }

    try
    {
        // Declared first, so COM is uninitialised only after every interface is released.
        const ComInitialization com;
        const FrameOutputs outputs{*frameCount, *width, *height, *pixels, *byteCount};
        return DecodeFrame(path, frameIndex, outputs) ? 0 : -1;
    }
    catch (...)
    {
        // Out of memory for the module's own path copy; nothing may reach the host.
        return -1;
    }
}
