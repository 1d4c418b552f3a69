// Hostile bytes as a PNG stream, through everything the plug-in reads from a PNG's chunks
// itself: the chunk list up to the first IDAT and to IEND, then the profile its gAMA and
// cHRM describe, read back and built into the colour step's tables as a decode would, and
// run over a few pixels. Checks what the reader promises: every chunk it lists lies
// within the bytes, a truncated stream asks for more than it holds, the head's list
// begins the whole list, and a CRC computed in two pieces is the CRC of the whole.

#include "imaging/colour/MatrixShaper.h"
#include "imaging/colour/PngGamma.h"
#include "imaging/colour/profile/IccProfile.h"
#include "imaging/PngChunks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Tesmo::Plugin::Imaging;

namespace
{

void Require(bool holds)
{
    if (!holds)
    {
        std::abort();
    }
}

void CheckReading(const PngChunkReading& reading, std::size_t size)
{
    if (reading.outcome == PngChunkReading::Outcome::Truncated)
    {
        Require(reading.bytesWanted > size && reading.chunks.empty());
        return;
    }
    for (const PngChunk& chunk : reading.chunks)
    {
        Require(chunk.dataOffset >= 16 && chunk.dataOffset <= size && chunk.length <= size - chunk.dataOffset &&
                size - chunk.dataOffset - chunk.length >= 4);
    }
    Require(reading.outcome == PngChunkReading::Outcome::Complete || reading.chunks.empty());
}

// The colour step's tables for 8-bit samples, over the extremes and a few bytes of the input.
void RunGammaProfile(const std::uint8_t* data, std::size_t size, const std::vector<PngChunk>& chunks)
{
    const std::optional<std::vector<std::uint8_t>> profileBytes = PngGammaProfile(data, chunks);
    if (!profileBytes)
    {
        return;
    }
    const std::optional<IccProfile> profile = IccProfile::Read(profileBytes->data(), profileBytes->size());
    Require(profile.has_value());
    const std::optional<MatrixShaper> shaper = MatrixShaper::FromProfile(*profile, 256);
    if (!shaper)
    {
        return;
    }
    for (std::size_t at = 0; at < 8; ++at)
    {
        const std::uint32_t channels[3] = {at == 0 ? 0u : 255u, data[at % size], data[(at * 7) % size]};
        std::uint8_t rgb[3];
        (*shaper)(channels, rgb);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const PngChunkReading head = ReadPngChunks(data, size, PngChunkExtent::UpToImageData);
    const PngChunkReading whole = ReadPngChunks(data, size, PngChunkExtent::ToEnd);
    CheckReading(head, size);
    CheckReading(whole, size);
    if (head.outcome == PngChunkReading::Outcome::Complete && whole.outcome == PngChunkReading::Outcome::Complete)
    {
        Require(head.chunks.size() < whole.chunks.size());
        for (std::size_t index = 0; index < head.chunks.size(); ++index)
        {
            Require(head.chunks[index].dataOffset == whole.chunks[index].dataOffset);
        }
        Require(FindPngChunk(whole.chunks, PngChunkType("IEND")) == &whole.chunks.back());
    }
    if (head.outcome == PngChunkReading::Outcome::Complete)
    {
        RunGammaProfile(data, size, head.chunks);
    }
    const std::size_t split = size == 0 ? 0 : data[0] % (size + 1);
    Require(PngCrc32(data + split, size - split, PngCrc32(data, split)) == PngCrc32(data, size));
    return 0;
}
