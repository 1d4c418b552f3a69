#include "imaging/animation/apng/ApngRecords.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

constexpr std::uint32_t animationControlLength = 8; // acTL: num_frames, num_plays
constexpr std::uint32_t frameControlLength = 26;    // fcTL: sequence, size, offsets, delay, dispose, blend
constexpr std::uint32_t sequenceLength = 4;         // before an fdAT's image data
// PNG keeps sizes and offsets under 2^31.
constexpr std::uint32_t largestDimension = 0x7FFFFFFF;

// PNG writes its four-byte numbers most significant byte first.
std::uint32_t PngNumber(const std::uint8_t* at)
{
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

// Walks the chunk list once, in order, refusing at the first chunk that breaks the rules.
class RecordReader
{
public:
    explicit RecordReader(const std::uint8_t* bytes) : bytes(bytes) {}

    bool Header(const PngChunk& header)
    {
        records.header = {header.dataOffset, header.length};
        records.width = PngNumber(bytes + header.dataOffset);
        records.height = PngNumber(bytes + header.dataOffset + 4);
        return records.width != 0 && records.height != 0 && records.width <= largestDimension &&
               records.height <= largestDimension;
    }

    // False when the stream is no valid animation.
    bool Take(const PngChunk& chunk)
    {
        const std::uint8_t* const data = bytes + chunk.dataOffset;
        switch (chunk.type)
        {
        case PngChunkType("acTL"):
            return AnimationControl(chunk, data);
        case PngChunkType("fcTL"):
            return FrameControl(chunk, data);
        case PngChunkType("IDAT"):
            return ImageData(chunk);
        case PngChunkType("fdAT"):
            return FrameData(chunk, data);
        case PngChunkType("PLTE"):
            records.palette = PngBytes{chunk.dataOffset, chunk.length};
            return true;
        case PngChunkType("tRNS"):
            records.transparency = PngBytes{chunk.dataOffset, chunk.length};
            return true;
        case PngChunkType("iCCP"):
        case PngChunkType("sRGB"):
        case PngChunkType("gAMA"):
        case PngChunkType("cHRM"):
        case PngChunkType("cICP"):
            records.colourChunks.push_back(chunk);
            return true;
        default:
            return true;
        }
    }

    std::optional<ApngRecords> Finish()
    {
        if (!imageDataSeen || records.frames.size() != frameCount)
        {
            return std::nullopt;
        }
        for (const ApngFrameRecord& frame : records.frames)
        {
            std::uint64_t length = 0;
            for (const PngBytes& piece : frame.imageData)
            {
                length += piece.length;
            }
            if (length == 0)
            {
                return std::nullopt;
            }
        }
        return std::move(records);
    }

private:
    bool AnimationControl(const PngChunk& chunk, const std::uint8_t* data)
    {
        if (animated || imageDataSeen || chunk.length != animationControlLength)
        {
            return false;
        }
        animated = true;
        frameCount = PngNumber(data);
        return frameCount != 0;
    }

    bool Sequenced(const std::uint8_t* data)
    {
        return PngNumber(data) == nextSequence++;
    }

    bool FrameControl(const PngChunk& chunk, const std::uint8_t* data)
    {
        // More fcTL chunks than frames are refused here, before the list grows further.
        if (!animated || chunk.length != frameControlLength || !Sequenced(data) || records.frames.size() >= frameCount)
        {
            return false;
        }
        ApngFrameRecord frame;
        frame.width = PngNumber(data + 4);
        frame.height = PngNumber(data + 8);
        frame.left = PngNumber(data + 12);
        frame.top = PngNumber(data + 16);
        const std::uint8_t dispose = data[24];
        const std::uint8_t blend = data[25];
        if (frame.width == 0 || frame.height == 0 || std::uint64_t{frame.left} + frame.width > records.width ||
            std::uint64_t{frame.top} + frame.height > records.height || dispose > 2 || blend > 1)
        {
            return false;
        }
        frame.dispose = static_cast<ApngDispose>(dispose);
        frame.blend = static_cast<ApngBlend>(blend);
        if (!imageDataSeen)
        {
            // Only the default image's fcTL comes before the image data, and the default
            // image fills the canvas.
            if (!records.frames.empty() || frame.left != 0 || frame.top != 0 || frame.width != records.width ||
                frame.height != records.height)
            {
                return false;
            }
            records.defaultImageShown = true;
        }
        imageDataEnded = imageDataSeen;
        records.frames.push_back(std::move(frame));
        return true;
    }

    bool ImageData(const PngChunk& chunk)
    {
        // Without acTL before it the file is a still picture; the IDAT chunks run together.
        if (!animated || imageDataEnded)
        {
            return false;
        }
        imageDataSeen = true;
        if (records.defaultImageShown)
        {
            records.frames.front().imageData.push_back({chunk.dataOffset, chunk.length});
        }
        return true;
    }

    bool FrameData(const PngChunk& chunk, const std::uint8_t* data)
    {
        // fdAT belongs to the fcTL before it, which must follow the image data.
        const bool forDefaultImage = records.defaultImageShown && records.frames.size() == 1;
        if (!imageDataSeen || records.frames.empty() || forDefaultImage || chunk.length < sequenceLength ||
            !Sequenced(data))
        {
            return false;
        }
        imageDataEnded = true;
        records.frames.back().imageData.push_back({chunk.dataOffset + sequenceLength, chunk.length - sequenceLength});
        return true;
    }

    const std::uint8_t* bytes;
    ApngRecords records;
    bool animated = false;
    std::uint32_t frameCount = 0;
    std::uint32_t nextSequence = 0;
    bool imageDataSeen = false;
    bool imageDataEnded = false;
};

} // namespace

bool AnnouncesAnimation(const std::vector<PngChunk>& headChunks)
{
    return FindPngChunk(headChunks, PngChunkType("acTL")) != nullptr;
}

std::optional<ApngRecords> ReadApngRecords(const std::uint8_t* bytes, std::size_t size)
{
    const PngChunkReading reading = ReadPngChunks(bytes, size, PngChunkExtent::ToEnd);
    if (reading.outcome != PngChunkReading::Outcome::Complete)
    {
        return std::nullopt;
    }
    RecordReader reader(bytes);
    if (!reader.Header(reading.chunks.front()))
    {
        return std::nullopt;
    }
    for (std::size_t index = 1; index < reading.chunks.size(); ++index)
    {
        if (!reader.Take(reading.chunks[index]))
        {
            return std::nullopt;
        }
    }
    return reader.Finish();
}

} // namespace Tesmo::Plugin::Imaging
