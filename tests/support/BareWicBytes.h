#pragma once

#include "hosting/BareWicDecoder.h"

#include <cstdlib>
#include <string>

namespace Tesmo::Tests
{

// Bare WIC's frame as packed RGB bytes, as the plug-in gave every frame before it composed
// GIF frames and turned photos: the reference for frames that stay as WIC hands them over.
// The calling thread must be in a COM apartment.
inline std::string BareWicBytes(const std::wstring& path, unsigned int frame)
{
    unsigned int width = 0, height = 0, byteCount = 0;
    void* pixels = nullptr;
    const bool decoded = PluginHost::BareWicDecoder().Decode(path, frame, width, height, pixels, byteCount);
    const std::string bytes = decoded ? std::string(static_cast<const char*>(pixels), byteCount) : "<failed>";
    std::free(pixels);
    return bytes;
}

} // namespace Tesmo::Tests
