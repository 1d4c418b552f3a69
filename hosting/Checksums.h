#pragma once

#include <cstdint>
#include <string_view>

namespace Tesmo::PluginHost
{

// The checksums PNG files carry: CRC-32 (ISO 3309, as zip and PNG's chunks use it) and
// zlib's Adler-32.
std::uint32_t Crc32(std::string_view bytes);
std::uint32_t Adler32(std::string_view bytes);

} // namespace Tesmo::PluginHost
