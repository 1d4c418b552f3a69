#include "Contenders.h"

#include "hosting/ImageDataCall.h"

#include <cstdlib>
#include <stdexcept>

namespace Tesmo::Benchmarks
{

void DecodeWithPlugin(const PluginHost::PluginLibrary& plugin, const std::string& path)
{
    // Timed: no message capture around the call, as a host without a debugger has none.
    const PluginHost::ImageDataCall call(plugin, path, 0, PluginHost::ImageDataCall::DebugMessages::Ignored);
    if (call.result != 0)
    {
        throw std::runtime_error("the plug-in failed to decode " + path);
    }
}

void DecodeWithBareWic(const BareWicDecoder& bare, const std::wstring& path)
{
    unsigned int width = 0, height = 0, byteCount = 0;
    void* pixels = nullptr;
    const bool decoded = bare.Decode(path, 0, width, height, pixels, byteCount);
    std::free(pixels);
    if (!decoded)
    {
        throw std::runtime_error("bare WIC failed to decode a benchmark image");
    }
}

} // namespace Tesmo::Benchmarks
