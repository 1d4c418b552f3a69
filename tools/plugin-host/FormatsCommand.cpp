// plugin-host formats: every decoder WIC knows on this machine, and for each extension it
// declares whether the plug-in's list offers it. The tool asks WIC's own component
// enumerator and the plug-in's own export. Which of the catalogue's two sources takes a
// decoder it tells from the registry alone: a complete registration in the decoder
// category is read from the registry, anything else only WIC's enumerator reports.

#include "Commands.h"

#include "hosting/ComApartment.h"
#include "hosting/WicDecoders.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

namespace
{

std::wstring ContainerName(const GUID& container)
{
    const struct
    {
        const GUID& guid;
        const wchar_t* name;
    } known[] = {{GUID_ContainerFormatBmp, L"BMP"},   {GUID_ContainerFormatPng, L"PNG"},
                 {GUID_ContainerFormatIco, L"ICO"},   {GUID_ContainerFormatJpeg, L"JPEG"},
                 {GUID_ContainerFormatTiff, L"TIFF"}, {GUID_ContainerFormatGif, L"GIF"},
                 {GUID_ContainerFormatWmp, L"JPEG XR"}, {GUID_ContainerFormatDds, L"DDS"},
                 {GUID_ContainerFormatAdng, L"DNG"},  {GUID_ContainerFormatHeif, L"HEIF"},
                 {GUID_ContainerFormatWebp, L"WebP"}, {GUID_ContainerFormatRaw, L"camera raw"}};
    for (const auto& entry : known)
    {
        if (entry.guid == container)
        {
            return entry.name;
        }
    }
    return GuidText(container);
}

std::vector<std::wstring> OfferedExtensions(const PluginLibrary& plugin)
{
    char* list = plugin.getSupportedExtensions();
    if (list == nullptr)
    {
        return {};
    }
    std::wstring wide(list, list + std::char_traits<char>::length(list));
    // The list is the host's, released with the runtime's free as a host does.
    std::free(list);
    return SplitDeclaredExtensions(wide);
}

// The settings file the plug-in reads: its own path with ".ini" for the last extension.
std::wstring SettingsPath(const PluginLibrary& plugin)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(plugin.Module(), path, MAX_PATH);
    const std::wstring module = path;
    const auto dot = module.rfind(L'.');
    return (dot == std::wstring::npos ? module : module.substr(0, dot)) + L".ini";
}

bool ExcludedInSettings(const std::wstring& settingsPath, const std::wstring& extension)
{
    wchar_t value[16] = {};
    GetPrivateProfileStringW(L"Extensions", extension.c_str(), L"", value, 16, settingsPath.c_str());
    return _wcsicmp(value, L"excluded") == 0;
}

std::wstring Joined(const std::vector<std::wstring>& extensions)
{
    std::wstring text;
    for (const std::wstring& extension : extensions)
    {
        text += (text.empty() ? L"" : L", ") + extension;
    }
    return text.empty() ? L"(none)" : text;
}

bool Contains(const std::vector<std::wstring>& list, const std::wstring& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

int PrintFormats(const PluginLibrary& plugin)
{
    if (plugin.getSupportedExtensions == nullptr)
    {
        std::fputs("the plug-in does not export GetSupportedExtensions\n", stderr);
        return 1;
    }
    const std::vector<std::wstring> offered = OfferedExtensions(plugin);
    const std::wstring settingsPath = SettingsPath(plugin);
    const std::wstring settingsName = settingsPath.substr(settingsPath.find_last_of(L"\\/") + 1);

    const ComApartment com(COINIT_APARTMENTTHREADED);
    const std::vector<WicDecoder> decoders = EnumerateWicDecoders();
    std::printf("WIC decoders on this machine: %u\n", static_cast<unsigned int>(decoders.size()));
    std::vector<std::wstring> notOffered;
    std::vector<std::wstring> excluded;
    bool anyLeftOut = false;
    for (const WicDecoder& decoder : decoders)
    {
        std::printf("\n%ls\n  container:  %ls\n  class:      %ls\n  extensions: %ls\n  source:     %s\n",
                    decoder.friendlyName.c_str(), ContainerName(decoder.container).c_str(),
                    GuidText(decoder.clsid).c_str(),
                    decoder.declaredExtensions.empty() ? L"(none declared)" : decoder.declaredExtensions.c_str(),
                    CompletelyRegistered(decoder.clsid) ? "the registry's decoder category"
                                                        : "WIC's component enumerator (its registry entry is incomplete)");
        bool leftOut = false;
        for (const std::wstring& extension : SplitDeclaredExtensions(decoder.declaredExtensions))
        {
            const bool isOffered = Contains(offered, extension);
            const bool isExcluded = !isOffered && ExcludedInSettings(settingsPath, extension);
            leftOut = leftOut || (!isOffered && !isExcluded);
            std::printf("  %ls: %s%ls\n", extension.c_str(), isOffered ? "offered" : "not offered",
                        isExcluded ? (L", excluded in " + settingsName).c_str() : L"");
            std::vector<std::wstring>& missing = isExcluded ? excluded : notOffered;
            if (!isOffered && !Contains(missing, extension))
            {
                missing.push_back(extension);
            }
        }
        if (leftOut)
        {
            std::puts("  left out of the list: neither of the catalogue's sources took this decoder (see the summary)");
            anyLeftOut = true;
        }
    }
    std::sort(notOffered.begin(), notOffered.end());
    std::sort(excluded.begin(), excluded.end());
    std::printf("\nSummary\n  the plug-in's list offers:        %ls\n  WIC decodes, the list leaves out: %ls\n",
                Joined(offered).c_str(), Joined(notOffered).c_str());
    if (!excluded.empty())
    {
        std::printf("  excluded in %ls: %ls\n", settingsPath.c_str(), Joined(excluded).c_str());
    }
    if (anyLeftOut)
    {
        // What the plug-in's catalogue reads, in one line.
        std::printf("  left out above: the catalogue takes a decoder from the registry when its key HKCR\\%ls\\{class}"
                    " holds FriendlyName and CLSID and its HKCR\\CLSID\\{class} holds FileExtensions, and otherwise"
                    " from WIC's enumerator when WIC gives it a friendly name and extensions\n",
                    decoderInstanceKeys);
    }
    return 0;
}

} // namespace Tesmo::PluginHost
