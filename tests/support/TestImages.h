#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Tesmo::Tests
{

// Test images whose pixels the test itself chooses, so the expected result is known
// independently of the code under test.

struct Rgba
{
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    unsigned char a = 255;
};

// Pixels in rows from top to bottom.
struct Picture
{
    unsigned int width = 0;
    unsigned int height = 0;
    std::vector<Rgba> pixels;

    const Rgba& At(unsigned int x, unsigned int y) const { return pixels[y * width + x]; }
    // The packed 24-bit R, G, B rows GetImageData should return: alpha dropped, colours kept.
    std::string Rgb() const;
};

// Distinct, irregular colours, so a swapped channel, a wrong row or a shifted column
// shows. With alpha, the alpha values vary too, fully transparent ones included.
Picture PatternPicture(unsigned int width, unsigned int height, unsigned int seed, bool withAlpha = false);
// Grey levels: r = g = b.
Picture GreyPicture(unsigned int width, unsigned int height, unsigned int seed);
// A smooth gradient, for lossy formats.
Picture GradientPicture(unsigned int width, unsigned int height);

// An 8-bit palette image.
struct IndexedPicture
{
    unsigned int width = 0;
    unsigned int height = 0;
    std::vector<unsigned char> indices;
    std::vector<Rgba> palette;

    Picture Colours() const;
};
IndexedPicture PatternIndexed(unsigned int width, unsigned int height, unsigned int paletteSize, unsigned int seed);

// Files written byte by byte.
std::string Bmp24(const Picture& picture);
// BI_RGB 32-bit: the fourth byte of each pixel is unused; it holds the alpha value anyway.
std::string Bmp32(const Picture& picture);
std::string Bmp8(const IndexedPicture& picture);
// A 24-bit BMP header claiming the given size, with no pixel data after it.
std::string Bmp24HeaderOnly(int width, int height);

struct IconImage
{
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int bitCount = 0;
    std::string data; // a DIB (below) or a whole PNG file
};
// A DIB as icons hold it: BITMAPINFOHEADER with the height doubled, the colour rows, then
// the 1-bit AND mask (set where alpha is 0).
std::string IconDib(const Picture& picture, unsigned int bitCount);
std::string Ico(const std::vector<IconImage>& images);

// Frames for WIC's encoders: the pixel format and the pixels as the encoder takes them.
struct FrameToEncode
{
    unsigned int width = 0;
    unsigned int height = 0;
    GUID format{};
    unsigned int stride = 0;
    std::vector<BYTE> bytes;
    std::vector<Rgba> palette; // indexed formats only
};
FrameToEncode AsBgr24(const Picture& picture);
FrameToEncode AsBgra32(const Picture& picture);
FrameToEncode AsGray8(const Picture& picture); // takes the red channel
FrameToEncode AsRgb48(const Picture& picture); // each 8-bit value v as the 16-bit v * 257
FrameToEncode AsIndexed8(const IndexedPicture& picture);

// Encodes the frames with the WIC encoder for the container format in this process and
// returns the file's bytes. Throws when the encoder refuses a frame's pixel format.
std::string EncodeWithWic(const GUID& containerFormat, const std::vector<FrameToEncode>& frames);

// True when running under Wine rather than Windows.
bool RunningUnderWine();

} // namespace Tesmo::Tests
