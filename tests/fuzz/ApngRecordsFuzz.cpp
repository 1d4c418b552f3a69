// Hostile bytes as a PNG file, through what the plug-in reads of an animated PNG before
// WIC sees anything: the chunk list, the animation's records or their refusal, and each
// frame's PNG stream built from them, which must itself be a whole PNG stream of the
// frame's size.

#include "imaging/animation/apng/ApngFramePng.h"
#include "imaging/animation/apng/ApngRecords.h"
#include "imaging/PngChunks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Tesmo::Plugin::Imaging;

namespace
{

std::uint32_t BigEndian(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<ApngRecords> records = ReadApngRecords(data, size);
    if (!records)
    {
        return 0;
    }
    if (records->frames.empty() || records->width == 0 || records->height == 0)
    {
        std::abort(); // a valid animation has frames on a canvas
    }
    for (const ApngFrameRecord& frame : records->frames)
    {
        if (std::uint64_t{frame.left} + frame.width > records->width ||
            std::uint64_t{frame.top} + frame.height > records->height)
        {
            std::abort(); // every frame lies inside the canvas
        }
        const std::vector<std::uint8_t> png = BuildFramePng(data, *records, frame);
        const PngChunkReading reading = ReadPngChunks(png.data(), png.size(), PngChunkExtent::ToEnd);
        if (reading.outcome != PngChunkReading::Outcome::Complete ||
            BigEndian(png.data() + reading.chunks.front().dataOffset) != frame.width ||
            BigEndian(png.data() + reading.chunks.front().dataOffset + 4) != frame.height ||
            FindPngChunk(reading.chunks, PngChunkType("IDAT")) == nullptr)
        {
            std::abort(); // the frame's stream is a whole PNG of the frame's size with image data
        }
    }
    return 0;
}
