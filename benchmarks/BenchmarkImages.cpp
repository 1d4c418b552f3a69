#include "BenchmarkImages.h"

#include "hosting/WicEncoder.h"

#include <cmath>
#include <cstdint>

namespace Tesmo::Benchmarks
{

std::vector<BYTE> PhotoLikePixels(unsigned int width, unsigned int height, unsigned int bytesPerPixel)
{
    std::vector<BYTE> pixels(static_cast<size_t>(width) * height * bytesPerPixel);
    std::uint32_t noise = 12345;
    size_t at = 0;
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            noise = noise * 1664525u + 1013904223u;
            const unsigned int jitter = (noise >> 24) & 0x0F;
            for (unsigned int channel = 0; channel < bytesPerPixel; ++channel)
            {
                const unsigned int base = channel == 0 ? x * 255 / width
                                          : channel == 1 ? y * 255 / height
                                                         : (x + y) * 127 / (width + height);
                pixels[at++] = static_cast<BYTE>((base + jitter) & 0xFF);
            }
        }
    }
    return pixels;
}

PictureSize LargePictureSize(unsigned int largeMegapixels)
{
    // 4:3 frames: 12 megapixels are 4000 x 3000.
    const auto side = static_cast<unsigned int>(std::sqrt(largeMegapixels * 1e6 / 12.0) + 0.5);
    return {4 * side, 3 * side};
}

std::vector<BenchmarkImage> WriteBenchmarkImages(const std::wstring& folder, unsigned int largeMegapixels)
{
    struct Recipe
    {
        std::wstring label;
        const wchar_t* fileName;
        GUID container;
        WICPixelFormatGUID format;
        unsigned int width;
        unsigned int height;
    };
    const auto [largeWidth, largeHeight] = LargePictureSize(largeMegapixels);
    const std::wstring large = std::to_wstring(largeMegapixels) + L" MP ";
    const Recipe recipes[] = {
        {large + L"JPEG", L"photo-large.jpg", GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, largeWidth,
         largeHeight},
        {large + L"PNG", L"photo-large.png", GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, largeWidth,
         largeHeight},
        {L"1 MP GIF", L"photo-1mp.gif", GUID_ContainerFormatGif, GUID_WICPixelFormat8bppIndexed, 1000, 1000},
        {L"16x16 PNG", L"icon-16.png", GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, 16, 16},
    };

    std::vector<BenchmarkImage> images;
    for (const Recipe& recipe : recipes)
    {
        BenchmarkImage image{recipe.label, folder + L"\\" + recipe.fileName, recipe.width, recipe.height};
        // The GIF's 8-bit indexed frame gets the encoder's halftone palette.
        const unsigned int bytesPerPixel = recipe.format == GUID_WICPixelFormat8bppIndexed ? 1 : 3;
        PluginHost::FrameToEncode frame;
        frame.width = image.width;
        frame.height = image.height;
        frame.format = recipe.format;
        frame.stride = image.width * bytesPerPixel;
        frame.bytes = PhotoLikePixels(image.width, image.height, bytesPerPixel);
        PluginHost::EncodeWithWic(image.path, recipe.container, {frame});
        images.push_back(image);
    }
    return images;
}

} // namespace Tesmo::Benchmarks
