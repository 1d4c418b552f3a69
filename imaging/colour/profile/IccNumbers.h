#pragma once

#include <cstdint>

namespace Tesmo::Plugin::Imaging
{

// ICC profiles store every number big-endian. Callers check the bounds first.

inline std::uint32_t BigEndian16(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} << 8 | at[1];
}

inline std::uint32_t BigEndian32(const std::uint8_t* at)
{
    return BigEndian16(at) << 16 | BigEndian16(at + 2);
}

// s15Fixed16Number: a signed 32-bit value in units of 1/65536.
inline double S15Fixed16(const std::uint8_t* at)
{
    return static_cast<std::int32_t>(BigEndian32(at)) / 65536.0;
}

// A four-character signature ("curv", "RGB ") as the 32-bit number it is stored as.
constexpr std::uint32_t Signature(const char (&text)[5])
{
    return std::uint32_t(std::uint8_t(text[0])) << 24 | std::uint32_t(std::uint8_t(text[1])) << 16 |
           std::uint32_t(std::uint8_t(text[2])) << 8 | std::uint8_t(text[3]);
}

} // namespace Tesmo::Plugin::Imaging
