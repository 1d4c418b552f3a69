#include "HdrDecode.h"

#include "BenchmarkImages.h"
#include "ComparisonTable.h"
#include "Contenders.h"
#include "hosting/AnsiPath.h"
#include "hosting/TiffEncoder.h"
#include "support/FileBytes.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace Tesmo::Benchmarks
{

namespace
{

using Microsoft::WRL::ComPtr;

// Binary32 to binary16, rounded to nearest; the values written here are normal halves
// (1/1024 and up) or 0.
std::uint16_t ToHalf(float value)
{
    if (value < 1.0f / 1024)
    {
        return 0;
    }
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint32_t rounded = bits + 0x1000;
    return static_cast<std::uint16_t>(((rounded >> 23) - 112) << 10 | (rounded >> 13 & 0x3FF));
}

double SrgbToLinear(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// The frame in its own pixel format, as a host that tone maps for itself would read it.
void CopyInOwnFormat(IWICImagingFactory& factory, const std::wstring& path)
{
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (factory.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                          &decoder) != S_OK ||
        decoder->GetFrame(0, &frame) != S_OK || frame->GetSize(&width, &height) != S_OK)
    {
        throw std::runtime_error("bare WIC failed to open the HDR benchmark image");
    }
    const std::size_t stride = std::size_t{width} * 8; // 64bppRGBAHalf
    std::vector<BYTE> pixels(stride * height);
    if (frame->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(pixels.size()), pixels.data()) != S_OK)
    {
        throw std::runtime_error("bare WIC failed to copy the HDR benchmark image");
    }
}

} // namespace

int WriteHdrSource(const std::wstring& path, unsigned int largeMegapixels)
{
    const PictureSize size = LargePictureSize(largeMegapixels);
    const std::vector<BYTE> rgb = PhotoLikePixels(size.width, size.height, 3);
    PluginHost::TiffPage page{size.width, size.height};
    page.bitsPerSample = 16;
    page.alpha = PluginHost::TiffAlpha::Unassociated;
    page.sampleFormat = PluginHost::TiffSampleFormat::Float;
    page.samples.reserve(std::size_t{size.width} * size.height * 8);
    for (std::size_t pixel = 0; pixel < rgb.size() / 3; ++pixel)
    {
        const double across = static_cast<double>(pixel % size.width) / size.width;
        const double gain = 1.0 + 11.5 * std::pow(across, 4);
        for (std::size_t channel = 0; channel < 4; ++channel)
        {
            const double value = channel == 3 ? 1.0 : SrgbToLinear(rgb[pixel * 3 + channel] / 255.0) * gain;
            const std::uint16_t half = ToHalf(static_cast<float>(value));
            page.samples += {static_cast<char>(half & 0xFF), static_cast<char>(half >> 8)};
        }
    }
    Tests::WriteFileBytes(path, PluginHost::EncodeTiff({page}));
    return 0;
}

void MeasureHdr(const PluginHost::PluginLibrary& plugin, WorkerThread& pluginThread, WorkerThread& bareThread)
{
    const wchar_t* const variable = _wgetenv(hdrJpegXrVariable);
    std::printf("\nHDR: a half-float scRGB JPEG XR (64bppRGBAHalf, highlights to 12.5) through the plug-in, tone\n"
                "mapped into sRGB, against bare WIC's CopyPixels of the frame in its own format.\n");
    if (variable == nullptr || *variable == L'\0')
    {
        std::printf("  skipped: no file named by %ls (scripts/bench.sh makes one with JxrEncApp)\n", hdrJpegXrVariable);
        return;
    }
    const std::wstring path = variable;
    const std::string ansiPath = PluginHost::AnsiPath(path);
    ComPtr<IWICImagingFactory> factory;
    bareThread.Run([&] {
        if (CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)) != S_OK)
        {
            throw std::runtime_error("no WIC factory for the HDR benchmark");
        }
    });
    FrameSize size;
    pluginThread.Run([&] { size = DecodeWithPlugin(plugin, ansiPath, 0); });
    std::printf("  %u x %u pixels\n", size.width, size.height);
    std::fflush(stdout);
    const Comparison times =
        TimeAlternating([&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, ansiPath, 0); }); },
                        [&] { bareThread.Run([&] { CopyInOwnFormat(*factory.Get(), path); }); });
    ComparisonTable(0, "", "plug-in ms (min-max)", "bare WIC ms (min-max)", true).PrintRow("", times, 1.25);
    bareThread.Run([&] { factory.Reset(); });
}

} // namespace Tesmo::Benchmarks
