#include "hosting/Checksums.h"

#include <array>

namespace Tesmo::PluginHost
{

namespace
{

constexpr std::array<std::uint32_t, 256> crcTable = []
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n)
    {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
        {
            c = c & 1 ? 0xEDB88320u ^ c >> 1 : c >> 1;
        }
        table[n] = c;
    }
    return table;
}();

} // namespace

std::uint32_t Crc32(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
    {
        crc = crcTable[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ crc >> 8;
    }
    return ~crc;
}

std::uint32_t Adler32(std::string_view bytes)
{
    constexpr std::uint32_t modulus = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char byte : bytes)
    {
        a = (a + static_cast<unsigned char>(byte)) % modulus;
        b = (b + a) % modulus;
    }
    return b << 16 | a;
}

} // namespace Tesmo::PluginHost
