#include "hosting/ApngEncoder.h"

#include "hosting/BigEndian.h"

#include <algorithm>
#include <cstdint>

namespace Tesmo::PluginHost
{

namespace
{

std::string FrameControl(std::uint32_t sequence, const ApngFrameToEncode& frame, unsigned int width,
                         unsigned int height)
{
    std::string data;
    for (const std::uint32_t value : {sequence, std::uint32_t{width}, std::uint32_t{height},
                                      std::uint32_t{frame.left}, std::uint32_t{frame.top}})
    {
        BigEndian::Put32(data, value);
    }
    data += {0, 10, 0, 100}; // a tenth of a second
    data += {static_cast<char>(frame.dispose), static_cast<char>(frame.blend)};
    return data;
}

// The IDAT data PngChunks writes for the frame's samples, in the file's colour type.
std::string FrameImageData(const ApngToEncode& animation, const ApngFrameToEncode& frame)
{
    PngImage image = frame.image;
    image.colourType = animation.defaultImage.colourType;
    image.bitDepth = animation.defaultImage.bitDepth;
    image.palette.clear();
    image.transparency.clear();
    image.profile.reset();
    for (const PngChunkToWrite& chunk : PngChunks(image))
    {
        if (chunk.type == "IDAT")
        {
            return chunk.data;
        }
    }
    return {};
}

} // namespace

std::vector<PngChunkToWrite> ApngChunks(const ApngToEncode& animation)
{
    std::vector<PngChunkToWrite> still = PngChunks(animation.defaultImage);
    std::vector<PngChunkToWrite> chunks{still.front()};
    std::string control;
    BigEndian::Put32(control, static_cast<std::uint32_t>(animation.frames.size()));
    BigEndian::Put32(control, 0); // plays for ever
    chunks.push_back({"acTL", control});

    std::uint32_t sequence = 0;
    std::size_t frame = 0;
    for (std::size_t index = 1; index + 1 < still.size(); ++index)
    {
        if (still[index].type == "IDAT" && animation.defaultImageShown && frame == 0 && !animation.frames.empty())
        {
            chunks.push_back({"fcTL", FrameControl(sequence++, animation.frames[frame++],
                                                   animation.defaultImage.width, animation.defaultImage.height)});
        }
        chunks.push_back(still[index]);
    }
    for (; frame < animation.frames.size(); ++frame)
    {
        const ApngFrameToEncode& next = animation.frames[frame];
        chunks.push_back({"fcTL", FrameControl(sequence++, next, next.image.width, next.image.height)});
        std::string data;
        BigEndian::Put32(data, sequence++);
        chunks.push_back({"fdAT", data + FrameImageData(animation, next)});
    }
    chunks.push_back(still.back());
    return chunks;
}

std::string EncodeApng(const ApngToEncode& animation)
{
    return WritePngChunks(ApngChunks(animation));
}

} // namespace Tesmo::PluginHost
