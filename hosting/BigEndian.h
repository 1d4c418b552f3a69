#pragma once

#include <cstdint>
#include <string>

namespace Tesmo::PluginHost::BigEndian
{

// Integers appended to a file's bytes most significant byte first, as PNG and ICC profiles
// store them. A namespace of their own keeps them apart from LittleEndian.h's.
inline void Put16(std::string& out, unsigned int value)
{
    out += static_cast<char>(value >> 8 & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

inline void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value >> 16);
    Put16(out, value & 0xFFFF);
}

} // namespace Tesmo::PluginHost::BigEndian
