#include "StickerAnimation.h"

#include "hosting/ApngEncoder.h"
#include "hosting/WicEncoder.h"
#include "support/EncoderFrames.h"
#include "support/FileBytes.h"
#include "support/Pictures.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace Tesmo::Benchmarks
{

namespace
{

using PluginHost::ApngFrameToEncode;
using PluginHost::PngChunkToWrite;
using Tests::Picture;
using Tests::Rgba;

constexpr unsigned int frameCount = 100;
constexpr unsigned int canvasWidth = 480, canvasHeight = 270;
constexpr unsigned int keyFrameEvery = 10;
constexpr unsigned int spriteSide = 96;

unsigned char Level(double value)
{
    return static_cast<unsigned char>(std::lround(std::fmin(255.0, std::fmax(0.0, value))));
}

// A disc with a soft rim and shading on a transparent canvas; its colour turns with k.
Picture WholeCanvas(unsigned int k)
{
    return Tests::PictureOf(canvasWidth, canvasHeight, [k](unsigned int x, unsigned int y) {
        const double distance = std::hypot(x - 240.0, y - 135.0);
        const double edge = 120.0 - distance;
        if (edge <= 0)
        {
            return Rgba{0, 0, 0, 0};
        }
        const double light = 1.0 - distance / 160.0;
        return Rgba{Level(220 * light + k), Level(120 + 100 * std::sin((x + k * 7) / 30.0)), Level(60 + y / 3.0),
                    Level(edge * 40)};
    });
}

// A ball with a soft edge, transparent around it.
Picture Sprite(unsigned int k)
{
    return Tests::PictureOf(spriteSide, spriteSide, [k](unsigned int x, unsigned int y) {
        const double distance = std::hypot(x - 48.0, y - 48.0);
        return Rgba{Level(255 - distance * 3), Level(200 - k), Level(distance * 4), Level((46 - distance) * 60)};
    });
}

// The IDAT data of a PNG WIC's encoder wrote, run together: one zlib stream.
std::string ImageData(const std::string& png)
{
    std::string data;
    for (std::size_t at = 8; at + 12 <= png.size();)
    {
        const std::uint32_t length = std::uint32_t(std::uint8_t(png[at])) << 24 |
                                     std::uint32_t(std::uint8_t(png[at + 1])) << 16 |
                                     std::uint32_t(std::uint8_t(png[at + 2])) << 8 | std::uint8_t(png[at + 3]);
        if (png.compare(at + 4, 4, "IHDR") == 0 && png.compare(at + 16, 5, std::string("\x08\x06\x00\x00\x00", 5)) != 0)
        {
            throw std::runtime_error("WIC's PNG encoder wrote a frame other than 8-bit RGBA, not interlaced");
        }
        if (png.compare(at + 4, 4, "IDAT") == 0)
        {
            data.append(png, at + 8, length);
        }
        at += 12 + std::size_t{length};
    }
    return data;
}

} // namespace

StickerAnimation WriteStickerAnimation(const std::wstring& folder)
{
    StickerAnimation sticker;
    sticker.width = canvasWidth;
    sticker.height = canvasHeight;
    PluginHost::ApngToEncode apng;
    apng.defaultImageShown = true;
    std::vector<std::string> imageData;
    for (unsigned int k = 0; k < frameCount; ++k)
    {
        const bool whole = k % keyFrameEvery == 0;
        const Picture picture = whole ? WholeCanvas(k) : Sprite(k);
        const std::string png = PluginHost::EncodeWithWic(GUID_ContainerFormatPng, {Tests::AsBgra32(picture)});
        sticker.framePaths.push_back(folder + L"\\sticker-frame-" + std::to_wstring(k) + L".png");
        Tests::WriteFileBytes(sticker.framePaths.back(), png);
        imageData.push_back(ImageData(png));
        sticker.firstDrawn.push_back(k / keyFrameEvery * keyFrameEvery);

        // Samples of the right size for the writer; the data is WIC's, put in below.
        ApngFrameToEncode frame;
        frame.image = {picture.width, picture.height, PluginHost::PngColourType::Rgba, 8,
                       std::string(std::size_t{picture.width} * picture.height * 4, '\0')};
        if (!whole)
        {
            frame.left = 40 + k % keyFrameEvery * 38;
            frame.top = 20 + (k * 17) % 150;
            frame.dispose = 2;
            frame.blend = 1;
        }
        if (k == 0)
        {
            apng.defaultImage = frame.image;
        }
        apng.frames.push_back(std::move(frame));
    }
    std::vector<PngChunkToWrite> chunks = PluginHost::ApngChunks(apng);
    std::size_t frame = 0;
    for (PngChunkToWrite& chunk : chunks)
    {
        if (chunk.type == "IDAT")
        {
            chunk.data = imageData[frame++];
        }
        else if (chunk.type == "fdAT")
        {
            chunk.data = chunk.data.substr(0, 4) + imageData[frame++];
        }
    }
    const std::string file = PluginHost::WritePngChunks(chunks);
    sticker.path = folder + L"\\sticker.png";
    Tests::WriteFileBytes(sticker.path, file);
    sticker.fileBytes = file.size();
    return sticker;
}

} // namespace Tesmo::Benchmarks
