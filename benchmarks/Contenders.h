#pragma once

#include "BareWicDecoder.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// One decode of frame 0 by each contender, the buffer released at once. Both throw
// std::runtime_error when the image does not decode, so a broken run cannot pass for a
// fast one.

// Through the plug-in's export, the way a host calls it (path in the ANSI code page).
void DecodeWithPlugin(const PluginHost::PluginLibrary& plugin, const std::string& path);

// Through bare WIC, with the decoder's reused factory.
void DecodeWithBareWic(const BareWicDecoder& bare, const std::wstring& path);

} // namespace Tesmo::Benchmarks
