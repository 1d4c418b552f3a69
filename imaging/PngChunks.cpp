#include "imaging/PngChunks.h"

#include <array>

namespace Tesmo::Plugin::Imaging
{

namespace
{

constexpr std::array<std::uint8_t, 8> pngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Length and type before a chunk's data, its CRC after them.
constexpr std::size_t chunkHeaderBytes = 8;
constexpr std::size_t chunkCrcBytes = 4;
// PNG lengths and CRCs are limited to 2^31 - 1 so that they fit signed 32-bit numbers.
constexpr std::uint32_t largestChunkLength = 0x7FFFFFFF;
constexpr std::uint32_t imageHeaderLength = 13;

constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t entry = 0; entry < 256; ++entry)
    {
        std::uint32_t value = entry;
        for (int bit = 0; bit < 8; ++bit)
        {
            value = (value & 1) != 0 ? 0xEDB88320u ^ (value >> 1) : value >> 1;
        }
        table[entry] = value;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> crcTable = MakeCrcTable();

std::uint32_t ReadBigEndian32(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

// Chunk types are four ASCII letters; anything else means the stream is out of step.
bool IsChunkType(const std::uint8_t* at)
{
    for (int index = 0; index < 4; ++index)
    {
        const std::uint8_t letter = static_cast<std::uint8_t>(at[index] | 0x20);
        if (letter < 'a' || letter > 'z')
        {
            return false;
        }
    }
    return true;
}

PngChunkReading Damaged()
{
    return {};
}

PngChunkReading Truncated(std::uint64_t bytesWanted)
{
    PngChunkReading reading;
    reading.outcome = PngChunkReading::Outcome::Truncated;
    reading.bytesWanted = bytesWanted;
    return reading;
}

} // namespace

PngChunkReading ReadPngChunks(const std::uint8_t* bytes, std::size_t size, PngChunkExtent extent)
{
    const std::size_t signatureBytes = pngSignature.size();
    for (std::size_t index = 0; index < signatureBytes && index < size; ++index)
    {
        if (bytes[index] != pngSignature[index])
        {
            return Damaged();
        }
    }
    if (size < signatureBytes)
    {
        return Truncated(signatureBytes + chunkHeaderBytes);
    }

    PngChunkReading reading;
    std::size_t position = signatureBytes;
    for (;;)
    {
        // position <= size holds here; every sum below is of values under 2^32 + size.
        if (size - position < chunkHeaderBytes)
        {
            return Truncated(std::uint64_t{position} + chunkHeaderBytes);
        }
        const std::uint32_t length = ReadBigEndian32(bytes + position);
        const std::uint8_t* const typeBytes = bytes + position + 4;
        if (length > largestChunkLength || !IsChunkType(typeBytes))
        {
            return Damaged();
        }
        const std::uint32_t type = ReadBigEndian32(typeBytes);
        const bool first = reading.chunks.empty();
        if (first != (type == PngChunkType("IHDR")) || (first && length != imageHeaderLength))
        {
            return Damaged();
        }
        if (extent == PngChunkExtent::UpToImageData && type == PngChunkType("IDAT"))
        {
            reading.outcome = PngChunkReading::Outcome::Complete;
            return reading;
        }
        const std::uint64_t chunkEnd = std::uint64_t{position} + chunkHeaderBytes + length + chunkCrcBytes;
        if (chunkEnd > size)
        {
            return Truncated(chunkEnd + (type == PngChunkType("IEND") ? 0 : chunkHeaderBytes));
        }
        const std::size_t dataOffset = position + chunkHeaderBytes;
        const std::uint32_t crc = PngCrc32(typeBytes, 4 + std::size_t{length});
        if (crc != ReadBigEndian32(bytes + dataOffset + length))
        {
            return Damaged();
        }
        reading.chunks.push_back({type, dataOffset, length});
        position = static_cast<std::size_t>(chunkEnd);
        if (type == PngChunkType("IEND"))
        {
            // Before the image data, IEND ends a stream that has no picture.
            if (extent == PngChunkExtent::UpToImageData)
            {
                reading.chunks.clear();
                return Damaged();
            }
            reading.outcome = PngChunkReading::Outcome::Complete;
            return reading;
        }
    }
}

const PngChunk* FindPngChunk(const std::vector<PngChunk>& chunks, std::uint32_t type)
{
    for (const PngChunk& chunk : chunks)
    {
        if (chunk.type == type)
        {
            return &chunk;
        }
    }
    return nullptr;
}

std::uint32_t PngCrc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t running)
{
    std::uint32_t crc = ~running;
    for (std::size_t index = 0; index < size; ++index)
    {
        crc = crcTable[(crc ^ bytes[index]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

} // namespace Tesmo::Plugin::Imaging
