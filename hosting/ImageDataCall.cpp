#include "hosting/ImageDataCall.h"

#include "hosting/DebugMessageCapture.h"

#include <cstdlib>
#include <optional>

namespace Tesmo::PluginHost
{

ImageDataCall::ImageDataCall(const PluginLibrary& plugin, const std::string& path, unsigned int frameIndex,
                             DebugMessages debugMessages)
{
    std::optional<DebugMessageCapture> capture;
    if (debugMessages == DebugMessages::Captured)
    {
        capture.emplace();
    }
    result = plugin.getImageData(path.c_str(), frameIndex, &frameCount, &width, &height, &pixels, &byteCount);
    if (capture)
    {
        messages = capture->Messages();
    }
}

ImageDataCall::~ImageDataCall()
{
    if (pixels != UnwrittenPointer())
    {
        std::free(pixels);
    }
}

std::string ImageDataCall::Bytes() const
{
    if (pixels == UnwrittenPointer() || pixels == nullptr || byteCount == unwritten)
    {
        return {};
    }
    return std::string(static_cast<const char*>(pixels), byteCount);
}

} // namespace Tesmo::PluginHost
