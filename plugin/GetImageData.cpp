#include "plugin/WicImagePlugin.h"

#include "imaging/ComInitialization.h"
#include "imaging/FrameDecoding.h"
#include "utilities/ConfigFile.h"

using Tesmo::Plugin::Imaging::ComInitialization;
using Tesmo::Plugin::Imaging::DecodeFrame;
using Tesmo::Plugin::Imaging::FrameOutputs;
using Tesmo::Plugin::Imaging::BackgroundColour;
using Tesmo::Plugin::Imaging::FrameSettings;
using Tesmo::Plugin::Utilities::ConfigFile;

namespace
{

// Asked by the decoding only for a frame they change (a GIF frame that needs composing, an
// animated PNG, a photo whose tag asks for a turn, a frame whose profile would change its
// colours, a frame with alpha, a linear-light frame brighter than SDR white), so that no
// other call reads the settings file.
bool GifFramesRaw()
{
    return ConfigFile().AreGifFramesRaw();
}

bool ApngFramesRaw()
{
    return ConfigFile().AreApngFramesRaw();
}

bool OrientationRaw()
{
    return ConfigFile().IsOrientationRaw();
}

bool ProfileRaw()
{
    return ConfigFile().IsProfileRaw();
}

bool TransparencyRaw()
{
    return ConfigFile().IsTransparencyRaw();
}

BackgroundColour Background()
{
    return ConfigFile().ReadBackground();
}

bool HdrClip()
{
    return ConfigFile().IsHdrClipped();
}

constexpr FrameSettings frameSettings{GifFramesRaw, ApngFramesRaw, OrientationRaw, ProfileRaw, TransparencyRaw,
                                      Background, HdrClip};

} // namespace

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
        return DecodeFrame(path, frameIndex, outputs, frameSettings) ? 0 : -1;
    }
    catch (...)
    {
        // Out of memory for the module's own path copy, settings or frame records;
        // nothing may reach the host.
        return -1;
    }
}
