#include "ImageFiles.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace Tesmo::PluginHost
{

namespace
{

void Check(HRESULT result, const char* what)
{
    if (FAILED(result))
    {
        char text[128];
        std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(result));
        throw std::runtime_error(text);
    }
}

} // namespace

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

void EncodeImageFile(const std::wstring& path, const GUID& container, const GUID& pixelFormat, unsigned int width,
                     unsigned int height, const std::vector<unsigned char>& pixels)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    Check(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)),
          "creating the WIC factory");
    Check(factory->CreateStream(&stream), "creating a stream");
    Check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "creating the output file");
    Check(factory->CreateEncoder(container, nullptr, &encoder), "creating the encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "starting the file");
    Check(encoder->CreateNewFrame(&frame, nullptr), "adding a frame");
    Check(frame->Initialize(nullptr), "starting the frame");
    Check(frame->SetSize(width, height), "setting the size");
    WICPixelFormatGUID format = pixelFormat;
    Check(frame->SetPixelFormat(&format), "setting the pixel format");
    if (format != pixelFormat)
    {
        throw std::runtime_error("the encoder does not take the pixel format");
    }
    if (pixelFormat == GUID_WICPixelFormat8bppIndexed)
    {
        ComPtr<IWICPalette> palette;
        Check(factory->CreatePalette(&palette), "creating a palette");
        Check(palette->InitializePredefined(WICBitmapPaletteTypeFixedHalftone256, FALSE), "filling the palette");
        Check(frame->SetPalette(palette.Get()), "setting the palette");
    }
    const auto stride = static_cast<UINT>(pixels.size() / height);
    Check(frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), const_cast<BYTE*>(pixels.data())),
          "writing the pixels");
    Check(frame->Commit(), "finishing the frame");
    Check(encoder->Commit(), "finishing the file");
}

// WIC's PNG encoder takes 24bpp BGR.
void WritePng(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb)
{
    std::vector<BYTE> bgr(rgb, rgb + static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i + 2 < bgr.size(); i += 3)
    {
        std::swap(bgr[i], bgr[i + 2]);
    }
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try
    {
        EncodeImageFile(path, GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, width, height, bgr);
    }
    catch (...)
    {
        if (SUCCEEDED(com))
        {
            CoUninitialize();
        }
        throw;
    }
    if (SUCCEEDED(com))
    {
        CoUninitialize();
    }
}

} // namespace Tesmo::PluginHost
