#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// A PNG chunk's four-character type ("IDAT") as the number its bytes make read big-endian.
constexpr std::uint32_t PngChunkType(const char (&name)[5])
{
    return std::uint32_t(std::uint8_t(name[0])) << 24 | std::uint32_t(std::uint8_t(name[1])) << 16 |
           std::uint32_t(std::uint8_t(name[2])) << 8 | std::uint8_t(name[3]);
}

// One chunk of a PNG stream: its data are bytes[dataOffset, dataOffset + length) of the
// bytes it was read from, and its CRC was right.
struct PngChunk
{
    std::uint32_t type;
    std::size_t dataOffset;
    std::uint32_t length;
};

// How far to read. A still picture's colour chunks (gAMA, cHRM, sRGB, iCCP, cICP) and an
// animation's acTL all come before the image data, so a look at them needs only the
// file's head; an animation's frames need everything up to IEND.
enum class PngChunkExtent
{
    UpToImageData, // stops at the header of the first IDAT, which is not listed
    ToEnd,         // stops after IEND, which is listed; bytes after it are ignored
};

struct PngChunkReading
{
    enum class Outcome
    {
        Complete,  // every chunk up to the extent's end, each whole with its CRC right
        Truncated, // right so far, but the bytes end before the extent does
        Damaged,   // no PNG signature, no IHDR first, a bad length, type or CRC, IEND too early
    };
    Outcome outcome = Outcome::Damaged;
    std::vector<PngChunk> chunks; // only when Complete
    // When Truncated: the bytes the stream needs at least to go on (the next chunk whole,
    // or its header), so that a reader of a file knows how much more to read.
    std::uint64_t bytesWanted = 0;
};

// Reads the chunk list of the PNG stream in bytes[0, size). Nothing in the stream is
// trusted: every length is checked against the bytes held before anything is read or
// allocated, and the list holds at most one entry per 12 bytes.
PngChunkReading ReadPngChunks(const std::uint8_t* bytes, std::size_t size, PngChunkExtent extent);

// The first chunk of the type in the list, or null.
const PngChunk* FindPngChunk(const std::vector<PngChunk>& chunks, std::uint32_t type);

// PNG's CRC-32 of bytes[0, size), continued from running (0 to start): a chunk's CRC is
// that of its type and data, which writers can compute in two calls.
std::uint32_t PngCrc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t running = 0);

} // namespace Tesmo::Plugin::Imaging
