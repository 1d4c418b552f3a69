// plugin-host formats: every decoder WIC knows on this machine, and for each extension it
// declares whether the plug-in's list offers it. The tool asks WIC's own component
// enumerator and the plug-in's own export; it does not walk the registry the way the
// plug-in's catalogue does.

#include "Commands.h"

#include "host/WicFactory.h"
#include "imaging/ComInitialization.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace Tesmo::PluginHost
{

namespace
{

struct Decoder
{
    std::wstring friendlyName;
    GUID container{};
    CLSID clsid{};
    std::wstring declaredExtensions; // as WIC gives them
};

using StringGetter = HRESULT (STDMETHODCALLTYPE IWICBitmapCodecInfo::*)(UINT size, WCHAR* text, UINT* actual);

// WIC's string getters: asked once for the length, once for the text.
std::wstring ReadWicString(IWICBitmapCodecInfo& info, StringGetter read)
{
    UINT units = 0;
    if (FAILED((info.*read)(0, nullptr, &units)) || units == 0)
    {
        return {};
    }
    std::wstring text(units, L'\0');
    if (FAILED((info.*read)(units, text.data(), &units)))
    {
        return {};
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::vector<Decoder> WicDecoders()
{
    const ComPtr<IWICImagingFactory> factory = CreateWicFactory();
    ComPtr<IEnumUnknown> components;
    if (FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &components)))
    {
        return {};
    }
    std::vector<Decoder> decoders;
    ComPtr<IUnknown> component;
    while (components->Next(1, component.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        ComPtr<IWICBitmapCodecInfo> info;
        if (FAILED(component.As(&info)))
        {
            continue;
        }
        Decoder decoder;
        decoder.friendlyName = ReadWicString(*info.Get(), &IWICComponentInfo::GetFriendlyName);
        decoder.declaredExtensions = ReadWicString(*info.Get(), &IWICBitmapCodecInfo::GetFileExtensions);
        info->GetContainerFormat(&decoder.container);
        info->GetCLSID(&decoder.clsid);
        decoders.push_back(std::move(decoder));
    }
    return decoders;
}

std::wstring GuidText(const GUID& guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

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

// Lower case, without dots; WIC separates them with ',' (Wine also with ';').
std::vector<std::wstring> SplitExtensions(const std::wstring& text, const wchar_t* separators)
{
    std::vector<std::wstring> extensions;
    std::wstring::size_type start = 0;
    while (start <= text.size())
    {
        const std::wstring::size_type end = std::min(text.find_first_of(separators, start), text.size());
        std::wstring extension = text.substr(start, end - start);
        extension.erase(0, extension.find_first_not_of(L" ."));
        extension.erase(extension.find_last_not_of(L' ') + 1);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](wchar_t unit) { return unit < 0x80 ? static_cast<wchar_t>(std::towlower(unit)) : unit; });
        if (!extension.empty())
        {
            extensions.push_back(extension);
        }
        start = end + 1;
    }
    return extensions;
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
    return SplitExtensions(wide, L",");
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

    const Plugin::Imaging::ComInitialization com(COINIT_APARTMENTTHREADED);
    const std::vector<Decoder> decoders = WicDecoders();
    std::printf("WIC decoders on this machine: %u\n", static_cast<unsigned int>(decoders.size()));
    std::vector<std::wstring> notOffered;
    std::vector<std::wstring> excluded;
    bool anyLeftOut = false;
    for (const Decoder& decoder : decoders)
    {
        std::printf("\n%ls\n  container:  %ls\n  class:      %ls\n  extensions: %ls\n", decoder.friendlyName.c_str(),
                    ContainerName(decoder.container).c_str(), GuidText(decoder.clsid).c_str(),
                    decoder.declaredExtensions.empty() ? L"(none declared)" : decoder.declaredExtensions.c_str());
        bool leftOut = false;
        for (const std::wstring& extension : SplitExtensions(decoder.declaredExtensions, L",;"))
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
            std::puts("  left out of the list: the catalogue did not take this registration (see the summary)");
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
        // What the plug-in's catalogue reads, in one line; the tool does not read it itself.
        std::printf("  left out above: the catalogue takes only a decoder whose key HKCR\\CLSID\\%ls\\Instance\\{class}"
                    " holds FriendlyName and CLSID, and whose HKCR\\CLSID\\{class} holds FileExtensions\n",
                    GuidText(CATID_WICBitmapDecoders).c_str());
    }
    return 0;
}

} // namespace Tesmo::PluginHost
