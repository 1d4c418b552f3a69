#include "imaging/animation/apng/ApngFramePng.h"

#include "imaging/PngChunks.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

constexpr std::uint8_t streamSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t chunkFrameBytes = 12; // length, type and CRC around a chunk's data

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.insert(out.end(), {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                           static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

void PutChunk(std::vector<std::uint8_t>& out, std::uint32_t type, const std::uint8_t* data, std::uint32_t length)
{
    PutBigEndian32(out, length);
    const std::size_t typeAt = out.size();
    PutBigEndian32(out, type);
    out.insert(out.end(), data, data + length);
    PutBigEndian32(out, PngCrc32(out.data() + typeAt, out.size() - typeAt));
}

void PutChunk(std::vector<std::uint8_t>& out, std::uint32_t type, const std::uint8_t* file, const PngBytes& bytes)
{
    PutChunk(out, type, file + bytes.offset, bytes.length);
}

} // namespace

std::vector<std::uint8_t> BuildFramePng(const std::uint8_t* file, const ApngRecords& records,
                                        const ApngFrameRecord& frame)
{
    std::size_t size = sizeof streamSignature + chunkFrameBytes + records.header.length + chunkFrameBytes;
    for (const PngChunk& chunk : records.colourChunks)
    {
        size += chunkFrameBytes + chunk.length;
    }
    for (const std::optional<PngBytes>& table : {records.palette, records.transparency})
    {
        size += table ? chunkFrameBytes + table->length : 0;
    }
    for (const PngBytes& piece : frame.imageData)
    {
        size += chunkFrameBytes + piece.length;
    }
    std::vector<std::uint8_t> png;
    png.reserve(size);
    png.assign(std::begin(streamSignature), std::end(streamSignature));

    // The file's header with the frame's size in place of the canvas's.
    std::vector<std::uint8_t> header;
    PutBigEndian32(header, frame.width);
    PutBigEndian32(header, frame.height);
    header.insert(header.end(), file + records.header.offset + 8, file + records.header.offset + records.header.length);
    PutChunk(png, PngChunkType("IHDR"), header.data(), static_cast<std::uint32_t>(header.size()));

    for (const PngChunk& chunk : records.colourChunks)
    {
        PutChunk(png, chunk.type, file + chunk.dataOffset, chunk.length);
    }
    if (records.palette)
    {
        PutChunk(png, PngChunkType("PLTE"), file, *records.palette);
    }
    if (records.transparency)
    {
        PutChunk(png, PngChunkType("tRNS"), file, *records.transparency);
    }
    for (const PngBytes& piece : frame.imageData)
    {
        PutChunk(png, PngChunkType("IDAT"), file, piece);
    }
    PutChunk(png, PngChunkType("IEND"), streamSignature, 0);
    return png;
}

} // namespace Tesmo::Plugin::Imaging
