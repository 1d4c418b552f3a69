#include "Commands.h"

#include "ImageFiles.h"
#include "hosting/AnsiPath.h"
#include "hosting/FailureReport.h"
#include "hosting/ImageDataCall.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace Tesmo::PluginHost
{

namespace
{

bool EndsWith(const std::wstring& text, const std::wstring& ending)
{
    return text.size() >= ending.size() &&
           _wcsicmp(text.c_str() + (text.size() - ending.size()), ending.c_str()) == 0;
}

std::wstring NumberedOutput(const std::wstring& output, unsigned int frame)
{
    const auto dot = output.find_last_of(L'.');
    const auto slash = output.find_last_of(L"\\/");
    const auto stem = (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) ? output.size() : dot;
    return output.substr(0, stem) + L"-" + std::to_wstring(frame) + output.substr(stem);
}

// Why the call failed, from what it sent and wrote: no debugger needed.
void PrintFailure(const ImageDataCall& call, unsigned int frameIndex)
{
    std::fprintf(stderr, "GetImageData failed for frame %u\n  failing step:    %s\n", frameIndex,
                 FailingStep(call.messages).c_str());
    for (const std::wstring& message : call.messages)
    {
        std::fprintf(stderr, "  plug-in message: %ls\n", message.c_str());
    }
    std::fprintf(stderr, "  outputs written: %s\n", OutputsWritten(call).c_str());
}

// Decodes one frame the way a host does; the call releases the buffer with the runtime's
// free, also when the plug-in hands one over with a failure.
bool DecodeOneFrame(const PluginLibrary& plugin, const std::string& image, unsigned int frameIndex,
                    const std::wstring& output, unsigned int& frameCount)
{
    const ImageDataCall call(plugin, image, frameIndex);
    if (call.result != 0)
    {
        PrintFailure(call, frameIndex);
        return false;
    }
    frameCount = call.frameCount;
    const auto* rgb = static_cast<const unsigned char*>(call.pixels);
    if (EndsWith(output, L".png"))
    {
        WritePng(output, call.width, call.height, rgb);
    }
    else
    {
        WritePpm(output, call.width, call.height, rgb);
    }
    std::printf("frame %u of %u: %u x %u pixels, %u bytes of RGB, written to %ls\n", frameIndex, call.frameCount,
                call.width, call.height, call.byteCount, output.c_str());
    return true;
}

} // namespace

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

int PrintSupportedExtensions(const PluginLibrary& plugin)
{
    if (plugin.getSupportedExtensions == nullptr)
    {
        std::fputs("the plug-in does not export GetSupportedExtensions\n", stderr);
        return 1;
    }
    char* extensions = plugin.getSupportedExtensions();
    if (extensions == nullptr)
    {
        std::fputs("GetSupportedExtensions returned no list\n", stderr);
        return 1;
    }
    std::printf("%s\n", extensions);
    // The list is the host's now, released with the runtime's free as a host does.
    std::free(extensions);
    return 0;
}

int Decode(const PluginLibrary& plugin, const std::wstring& imagePath, const std::wstring& frameArgument,
           const std::wstring& output)
{
    if (plugin.getImageData == nullptr)
    {
        std::fputs("the plug-in does not export GetImageData\n", stderr);
        return 1;
    }
    const std::string image = AnsiPath(imagePath);
    unsigned int frameCount = 0;
    if (frameArgument != L"all")
    {
        wchar_t* end = nullptr;
        const unsigned long frame = std::wcstoul(frameArgument.c_str(), &end, 10);
        if (frameArgument.empty() || *end != L'\0')
        {
            std::fputs("the frame is a number or \"all\"\n", stderr);
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

} // namespace Tesmo::PluginHost
