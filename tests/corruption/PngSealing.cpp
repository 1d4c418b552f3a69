#include "corruption/PngSealing.h"

#include "corruption/FormatFields.h"

#include <cstdint>

namespace Tesmo::Tests::Corruption
{

namespace
{

std::uint32_t Crc32(const char* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
        {
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

} // namespace

void ResealPngs(std::string& bytes)
{
    for (std::size_t png = bytes.find("\x89PNG"); png != std::string::npos; png = bytes.find("\x89PNG", png + 1))
    {
        for (std::size_t chunk = png + 8, length = 0; chunk + 12 <= bytes.size(); chunk += 12 + length)
        {
            length = Read(bytes, chunk, 4, true);
            if (length > bytes.size() - chunk - 12)
            {
                break;
            }
            Write(bytes, chunk + 8 + length, 4, true, Crc32(bytes.data() + chunk + 4, length + 4));
            if (bytes.compare(chunk + 4, 4, "IEND") == 0)
            {
                break;
            }
        }
    }
}

} // namespace Tesmo::Tests::Corruption
