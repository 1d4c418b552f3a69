#include "support/EncoderFrames.h"

#include <vector>

using Tesmo::PluginHost::FrameToEncode;

namespace Tesmo::Tests
{

namespace
{

using PixelBytes = std::vector<BYTE>;

// Rows of pixels from bytesAt(x, y). Rows of WIC bitmaps in memory need no padding, but
// encoders read whole 4-byte rows on some paths: pad to be safe. Lossy frames are encoded
// at the best quality, so that the tests' tolerance for them stays small.
template <class BytesAt>
FrameToEncode Frame(unsigned int width, unsigned int height, const GUID& format, unsigned int pixelSize,
                    BytesAt bytesAt)
{
    const unsigned int stride = (width * pixelSize + 3) / 4 * 4;
    FrameToEncode frame{width, height, format, stride, {}, {}, 1.0f}; // pixels and palette to come
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            const PixelBytes pixel = bytesAt(x, y);
            frame.bytes.insert(frame.bytes.end(), pixel.begin(), pixel.end());
        }
        frame.bytes.resize(std::size_t{frame.stride} * (y + 1));
    }
    return frame;
}

template <class BytesOf>
FrameToEncode Frame(const Picture& picture, const GUID& format, unsigned int pixelSize, BytesOf bytesOf)
{
    return Frame(picture.width, picture.height, format, pixelSize,
                 [&](unsigned int x, unsigned int y) { return bytesOf(picture.At(x, y)); });
}

} // namespace

FrameToEncode AsBgr24(const Picture& picture)
{
    return Frame(picture, GUID_WICPixelFormat24bppBGR, 3, [](const Rgba& p) { return PixelBytes{p.b, p.g, p.r}; });
}

FrameToEncode AsBgra32(const Picture& picture)
{
    return Frame(picture, GUID_WICPixelFormat32bppBGRA, 4, [](const Rgba& p) {
        return PixelBytes{p.b, p.g, p.r, p.a};
    });
}

FrameToEncode AsGray8(const Picture& picture)
{
    return Frame(picture, GUID_WICPixelFormat8bppGray, 1, [](const Rgba& p) { return PixelBytes{p.r}; });
}

FrameToEncode AsRgb48(const Picture& picture)
{
    // v * 257 is v in both bytes.
    return Frame(picture, GUID_WICPixelFormat48bppRGB, 6,
                 [](const Rgba& p) { return PixelBytes{p.r, p.r, p.g, p.g, p.b, p.b}; });
}

FrameToEncode AsIndexed8(const IndexedPicture& picture)
{
    FrameToEncode frame =
        Frame(picture.width, picture.height, GUID_WICPixelFormat8bppIndexed, 1,
              [&](unsigned int x, unsigned int y) { return PixelBytes{picture.indices[y * picture.width + x]}; });
    for (const Rgba& p : picture.palette)
    {
        frame.palette.push_back(static_cast<WICColor>(p.a) << 24 | static_cast<WICColor>(p.r) << 16 |
                                static_cast<WICColor>(p.g) << 8 | p.b);
    }
    return frame;
}

} // namespace Tesmo::Tests
