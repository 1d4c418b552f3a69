#pragma once

#include "hosting/BareWicDecoder.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// One decode of one frame by each contender, the buffer released at once. Both throw
// std::runtime_error when the frame does not decode, so a broken run cannot pass for a
// fast one.

// The size of the picture a contender handed over: for a GIF animation the plug-in gives
// the whole logical screen, bare WIC only the frame's own rectangle.
struct FrameSize
{
    unsigned int width = 0;
    unsigned int height = 0;
};

// Through the plug-in's export, the way a host calls it (path in the ANSI code page).
FrameSize DecodeWithPlugin(const PluginHost::PluginLibrary& plugin, const std::string& path, unsigned int frameIndex);

// Through bare WIC, with the decoder's reused factory: the frame as WIC hands it over.
FrameSize DecodeWithBareWic(const PluginHost::BareWicDecoder& bare, const std::wstring& path, unsigned int frameIndex);

} // namespace Tesmo::Benchmarks
