#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Tesmo::Benchmarks
{

struct BenchmarkImage
{
    std::wstring label;
    std::wstring path;
    unsigned int width;
    unsigned int height;
};

// The large pictures' size: 4:3, largeMegapixels of them (12: 4000 x 3000).
struct PictureSize
{
    unsigned int width;
    unsigned int height;
};
PictureSize LargePictureSize(unsigned int largeMegapixels);

// Encodes the benchmark's images with WIC's own encoders into folder: a JPEG and a PNG of
// largeMegapixels (4:3), a 1-megapixel GIF and a 16 x 16 PNG, all of a photo-like pattern
// with noise so that the encoders do real work.
std::vector<BenchmarkImage> WriteBenchmarkImages(const std::wstring& folder, unsigned int largeMegapixels);

// That pattern: a smooth gradient with a little noise, which compresses like a photograph,
// not like a flat colour; rows from top to bottom, bytesPerPixel channels a pixel.
std::vector<BYTE> PhotoLikePixels(unsigned int width, unsigned int height, unsigned int bytesPerPixel);

} // namespace Tesmo::Benchmarks
