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

// Encodes packed RGB with WIC's PNG encoder, which takes 24bpp BGR.
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
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)),
              "creating the WIC factory");
        Check(factory->CreateStream(&stream), "creating a stream");
        Check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "creating the output file");
        Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder), "creating the PNG encoder");
        Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "starting the PNG file");
        Check(encoder->CreateNewFrame(&frame, nullptr), "adding a frame");
        Check(frame->Initialize(nullptr), "starting the frame");
        Check(frame->SetSize(width, height), "setting the size");
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        Check(frame->SetPixelFormat(&format), "setting the pixel format");
        if (format != GUID_WICPixelFormat24bppBGR)
        {
            throw std::runtime_error("the PNG encoder does not take 24bpp BGR");
        }
        Check(frame->WritePixels(height, width * 3, static_cast<UINT>(bgr.size()), bgr.data()), "writing the pixels");
        Check(frame->Commit(), "finishing the frame");
        Check(encoder->Commit(), "finishing the file");
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
