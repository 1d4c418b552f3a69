#include "Commands.h"

#include "ContactSheet.h"
#include "ImageFiles.h"
#include "hosting/AnsiPath.h"
#include "hosting/FailureReport.h"
#include "hosting/ImageDataCall.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
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

// Where output's name ends and its last extension begins (its end when it has none).
std::size_t StemEnd(const std::wstring& output)
{
    const auto dot = output.find_last_of(L'.');
    const auto slash = output.find_last_of(L"\\/");
    return (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) ? output.size() : dot;
}

std::wstring NumberedOutput(const std::wstring& output, unsigned int frame)
{
    const std::size_t stem = StemEnd(output);
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

// The tool's one frame loop: decodes frame `first` and, when `every` is set, each frame
// after it up to the count the plug-in reports, the way a host does (the call releases
// the buffer with the runtime's free, also when the plug-in hands one over with a
// failure). `use` sees each decoded frame while its call still holds the buffer. A
// failure is reported and ends the loop.
bool DecodeFrames(const PluginLibrary& plugin, const std::string& image, unsigned int first, bool every,
                  const std::function<void(unsigned int frameIndex, const ImageDataCall& call)>& use)
{
    for (unsigned int frame = first;; ++frame)
    {
        const ImageDataCall call(plugin, image, frame);
        if (call.result != 0)
        {
            PrintFailure(call, frame);
            return false;
        }
        use(frame, call);
        if (!every || frame + 1 >= call.frameCount)
        {
            return true;
        }
    }
}

void WriteFrame(const std::wstring& path, const ImageDataCall& call)
{
    const auto* rgb = static_cast<const unsigned char*>(call.pixels);
    if (EndsWith(path, L".png"))
    {
        WritePng(path, call.width, call.height, rgb);
    }
    else
    {
        WritePpm(path, call.width, call.height, rgb);
    }
}

// Decode's frames, each written to output unless it is empty and added to sheet unless
// it is null; frameArgument as Decode takes it.
int DecodeInto(const PluginLibrary& plugin, const std::wstring& imagePath, const std::wstring& frameArgument,
               const std::wstring& output, ContactSheet* sheet)
{
    if (plugin.getImageData == nullptr)
    {
        std::fputs("the plug-in does not export GetImageData\n", stderr);
        return 1;
    }
    const bool every = frameArgument == L"all";
    unsigned long first = 0;
    if (!every)
    {
        wchar_t* end = nullptr;
        first = std::wcstoul(frameArgument.c_str(), &end, 10);
        if (frameArgument.empty() || *end != L'\0')
        {
            std::fputs("the frame is a number or \"all\"\n", stderr);
            return 2;
        }
    }
    const auto use = [&](unsigned int frame, const ImageDataCall& call) {
        std::wstring written;
        if (!output.empty())
        {
            const std::wstring path = every ? NumberedOutput(output, frame) : output;
            WriteFrame(path, call);
            written = L", written to " + path;
        }
        if (sheet != nullptr)
        {
            sheet->Add({call.width, call.height, call.Bytes()});
        }
        std::printf("frame %u of %u: %u x %u pixels, %u bytes of RGB%ls\n", frame, call.frameCount, call.width,
                    call.height, call.byteCount, written.c_str());
    };
    return DecodeFrames(plugin, AnsiPath(imagePath), static_cast<unsigned int>(first), every, use) ? 0 : 1;
}

void WriteSheet(const ContactSheet& sheet, const std::wstring& output)
{
    const ContactSheet::Rgb picture = sheet.Draw();
    WritePng(output, picture.width, picture.height, reinterpret_cast<const unsigned char*>(picture.bytes.data()));
    std::printf("contact sheet: %u x %u pixels, written to %ls\n", picture.width, picture.height, output.c_str());
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
           const std::wstring& output, const std::wstring& sheetOutput)
{
    ContactSheet sheet;
    const int decoded = DecodeInto(plugin, imagePath, frameArgument, output, sheetOutput.empty() ? nullptr : &sheet);
    if (decoded == 0 && !sheetOutput.empty())
    {
        WriteSheet(sheet, sheetOutput);
    }
    return decoded;
}

int DrawSheet(const std::vector<PluginAndImage>& decodes, const std::wstring& output)
{
    ContactSheet sheet;
    for (const PluginAndImage& decode : decodes)
    {
        // One plug-in loaded at a time: copies of one DLL in two folders share a module
        // name, and each must find the settings file beside itself, not beside the other.
        const PluginLibrary plugin(decode.plugin);
        if (decodes.size() > 1)
        {
            std::printf("%ls through %ls:\n", decode.image.c_str(), decode.plugin.c_str());
        }
        const int decoded = DecodeInto(plugin, decode.image, L"all", L"", &sheet);
        if (decoded != 0)
        {
            return decoded;
        }
    }
    WriteSheet(sheet, output);
    return 0;
}

std::wstring SheetBeside(const std::wstring& output)
{
    return output.substr(0, StemEnd(output)) + L"-sheet.png";
}

} // namespace Tesmo::PluginHost
