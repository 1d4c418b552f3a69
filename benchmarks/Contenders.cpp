#include "Contenders.h"

#include "hosting/ImageDataCall.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace Tesmo::Benchmarks
{

FrameSize DecodeWithPlugin(const PluginHost::PluginLibrary& plugin, const std::string& path, unsigned int frameIndex)
{
    // Timed: no message capture around the call, as a host without a debugger has none.
    const PluginHost::ImageDataCall call(plugin, path, frameIndex, PluginHost::ImageDataCall::DebugMessages::Ignored);
    if (call.result != 0)
    {
        throw std::runtime_error("the plug-in failed to decode frame " + std::to_string(frameIndex) + " of " + path);
    }
    return {call.width, call.height};
}

FrameSize DecodeWithBareWic(const PluginHost::BareWicDecoder& bare, const std::wstring& path, unsigned int frameIndex)
{
    FrameSize size;
    unsigned int byteCount = 0;
    void* pixels = nullptr;
    const bool decoded = bare.Decode(path, frameIndex, size.width, size.height, pixels, byteCount);
    std::free(pixels);
    if (!decoded)
    {
        throw std::runtime_error("bare WIC failed to decode frame " + std::to_string(frameIndex) +
                                 " of a benchmark image");
    }
    return size;
}

} // namespace Tesmo::Benchmarks
