#include "ImageFiles.h"

#include "hosting/WicEncoder.h"

#include <cstdio>
#include <stdexcept>

namespace Tesmo::PluginHost
{

void WritePpm(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr)
    {
        throw std::runtime_error("cannot create the output file");
    }
    std::fprintf(file, "P6\n%u %u\n255\n", width, height);
    const size_t size = static_cast<size_t>(width) * height * 3;
    const bool written = std::fwrite(rgb, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
    {
        throw std::runtime_error("cannot write the output file");
    }
}

// WIC's PNG encoder takes 24bpp BGR, not RGB.
void WritePng(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb)
{
    FrameToEncode frame{width, height, GUID_WICPixelFormat24bppBGR, width * 3, {}, {}, {}};
    frame.bytes.reserve(static_cast<size_t>(width) * height * 3);
    for (const unsigned char* pixel = rgb; pixel != rgb + static_cast<size_t>(width) * height * 3; pixel += 3)
    {
        frame.bytes.insert(frame.bytes.end(), {pixel[2], pixel[1], pixel[0]});
    }
    EncodeWithWic(path, GUID_ContainerFormatPng, {frame});
}

} // namespace Tesmo::PluginHost
