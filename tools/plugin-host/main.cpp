// plugin-host: loads an image-format plug-in DLL by path and calls its exports the way a
// host application does, printing what comes back.

#include "PluginLibrary.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;
using Tesmo::PluginHost::PluginLibrary;

namespace
{

void PrintUsage()
{
    std::fputs("usage: plugin-host name PLUGIN.dll\n"
               "       plugin-host decode PLUGIN.dll IMAGE [FRAME|all] [OUT.ppm|OUT.png]\n"
               "  name        print the display name\n"
               "  decode      decode frame FRAME (default 0, or every frame with \"all\") of IMAGE,\n"
               "              print the frame count and size and write the pixels to OUT\n"
               "              (default frame.ppm; .png writes PNG; with \"all\" each frame's\n"
               "              index goes before the extension: frame-0.ppm, frame-1.ppm ...)\n",
               stderr);
}

int PrintDisplayName(const PluginLibrary& plugin)
{
    if (plugin.getDisplayName == nullptr)
    {
        std::fputs("the plug-in does not export GetDisplayName\n", stderr);
        return 1;
    }
    char name[256] = {};
    if (plugin.getDisplayName(name, sizeof name) != 0)
    {
        std::fputs("GetDisplayName failed\n", stderr);
        return 1;
    }
    std::printf("%s\n", name);
    return 0;
}

bool EndsWith(const std::wstring& text, const std::wstring& ending)
{
    return text.size() >= ending.size() &&
           _wcsicmp(text.c_str() + (text.size() - ending.size()), ending.c_str()) == 0;
}

// A host passes narrow paths in the system's ANSI code page.
std::string ToAnsi(const std::wstring& wide)
{
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(bytes > 0 ? bytes : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(), bytes, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

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

void Check(HRESULT result, const char* what)
{
    if (FAILED(result))
    {
        char text[128];
        std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(result));
        throw std::runtime_error(text);
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

std::wstring NumberedOutput(const std::wstring& output, unsigned int frame)
{
    const auto dot = output.find_last_of(L'.');
    const auto slash = output.find_last_of(L"\\/");
    const auto stem = (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) ? output.size() : dot;
    return output.substr(0, stem) + L"-" + std::to_wstring(frame) + output.substr(stem);
}

// Decodes one frame the way a host does and releases the buffer with the runtime's free,
// also when the plug-in hands one over with a failure.
bool DecodeOneFrame(const PluginLibrary& plugin, const std::string& image, unsigned int frameIndex,
                    const std::wstring& output, unsigned int& frameCount)
{
    unsigned int width = 0;
    unsigned int height = 0;
    void* pixels = nullptr;
    unsigned int byteCount = 0;
    const int result =
        plugin.getImageData(image.c_str(), frameIndex, &frameCount, &width, &height, &pixels, &byteCount);
    if (result != 0)
    {
        std::free(pixels);
        std::fprintf(stderr, "GetImageData failed for frame %u (WINEDEBUG=warn+seh shows the failing step)\n",
                     frameIndex);
        return false;
    }
    try
    {
        if (EndsWith(output, L".png"))
        {
            WritePng(output, width, height, static_cast<const unsigned char*>(pixels));
        }
        else
        {
            WritePpm(output, width, height, static_cast<const unsigned char*>(pixels));
        }
    }
    catch (...)
    {
        std::free(pixels);
        throw;
    }
    std::free(pixels);
    std::printf("frame %u of %u: %u x %u pixels, %u bytes of RGB, written to %ls\n", frameIndex, frameCount, width,
                height, byteCount, output.c_str());
    return true;
}

int Decode(const PluginLibrary& plugin, int argc, wchar_t** argv)
{
    if (plugin.getImageData == nullptr)
    {
        std::fputs("the plug-in does not export GetImageData\n", stderr);
        return 1;
    }
    const std::string image = ToAnsi(argv[3]);
    const std::wstring frameArgument = argc > 4 ? argv[4] : L"0";
    const std::wstring output = argc > 5 ? argv[5] : L"frame.ppm";
    unsigned int frameCount = 0;
    if (frameArgument != L"all")
    {
        wchar_t* end = nullptr;
        const unsigned long frame = std::wcstoul(frameArgument.c_str(), &end, 10);
        if (frameArgument.empty() || *end != L'\0')
        {
            PrintUsage();
            return 2;
        }
        return DecodeOneFrame(plugin, image, static_cast<unsigned int>(frame), output, frameCount) ? 0 : 1;
    }
    if (!DecodeOneFrame(plugin, image, 0, NumberedOutput(output, 0), frameCount))
    {
        return 1;
    }
    for (unsigned int frame = 1; frame < frameCount; ++frame)
    {
        if (!DecodeOneFrame(plugin, image, frame, NumberedOutput(output, frame), frameCount))
        {
            return 1;
        }
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        PrintUsage();
        return 2;
    }
    const std::wstring command = argv[1];
    try
    {
        const PluginLibrary plugin(argv[2]);
        if (command == L"name")
        {
            return PrintDisplayName(plugin);
        }
        if (command == L"decode" && argc >= 4)
        {
            return Decode(plugin, argc, argv);
        }
        PrintUsage();
        return 2;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "plugin-host: %s\n", error.what());
        return 1;
    }
}
