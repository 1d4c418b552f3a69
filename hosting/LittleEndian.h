#pragma once

#include <string>

namespace Tesmo::PluginHost
{

// Integers appended to a file's bytes least significant byte first, as GIF and
// little-endian TIFF store them.
inline void Put16(std::string& out, unsigned int value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

inline void Put32(std::string& out, unsigned int value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace Tesmo::PluginHost
