#include "support/EncoderFrames.h"

#include <cstring>

using Tesmo::PluginHost::FrameToEncode;

namespace Tesmo::Tests
{

namespace
{

// A frame without pixels yet. Lossy frames are encoded at the best quality, so that the
// tests' tolerance for them stays small.
FrameToEncode Frame(unsigned int width, unsigned int height, const GUID& format, unsigned int stride)
{
    FrameToEncode frame;
    frame.width = width;
    frame.height = height;
    frame.format = format;
    frame.stride = stride;
    frame.jpegQuality = 1.0f;
    return frame;
}

} // namespace

FrameToEncode AsBgr24(const Picture& picture)
{
    FrameToEncode frame = Frame(picture.width, picture.height, GUID_WICPixelFormat24bppBGR, picture.width * 3);
    for (const Rgba& p : picture.pixels)
    {
        frame.bytes.insert(frame.bytes.end(), {p.b, p.g, p.r});
    }
    return frame;
}

FrameToEncode AsBgra32(const Picture& picture)
{
    FrameToEncode frame = Frame(picture.width, picture.height, GUID_WICPixelFormat32bppBGRA, picture.width * 4);
    for (const Rgba& p : picture.pixels)
    {
        frame.bytes.insert(frame.bytes.end(), {p.b, p.g, p.r, p.a});
    }
    return frame;
}

FrameToEncode AsGray8(const Picture& picture)
{
    // Rows of WIC bitmaps in memory need no padding, but encoders read whole 4-byte rows
    // on some paths: pad to be safe.
    const unsigned int stride = (picture.width + 3) / 4 * 4;
    FrameToEncode frame = Frame(picture.width, picture.height, GUID_WICPixelFormat8bppGray, stride);
    frame.bytes.resize(static_cast<std::size_t>(stride) * picture.height);
    for (unsigned int y = 0; y < picture.height; ++y)
    {
        for (unsigned int x = 0; x < picture.width; ++x)
        {
            frame.bytes[y * stride + x] = picture.At(x, y).r;
        }
    }
    return frame;
}

FrameToEncode AsRgb48(const Picture& picture)
{
    FrameToEncode frame = Frame(picture.width, picture.height, GUID_WICPixelFormat48bppRGB, picture.width * 6);
    for (const Rgba& p : picture.pixels)
    {
        for (const unsigned char value : {p.r, p.g, p.b})
        {
            frame.bytes.insert(frame.bytes.end(), {value, value}); // v * 257, little-endian
        }
    }
    return frame;
}

FrameToEncode AsIndexed8(const IndexedPicture& picture)
{
    const unsigned int stride = (picture.width + 3) / 4 * 4;
    FrameToEncode frame = Frame(picture.width, picture.height, GUID_WICPixelFormat8bppIndexed, stride);
    for (const Rgba& p : picture.palette)
    {
        frame.palette.push_back(static_cast<WICColor>(p.a) << 24 | static_cast<WICColor>(p.r) << 16 |
                                static_cast<WICColor>(p.g) << 8 | p.b);
    }
    frame.bytes.resize(static_cast<std::size_t>(stride) * picture.height);
    for (unsigned int y = 0; y < picture.height; ++y)
    {
        std::memcpy(&frame.bytes[y * stride], &picture.indices[y * picture.width], picture.width);
    }
    return frame;
}

} // namespace Tesmo::Tests
