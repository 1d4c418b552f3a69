#include "hosting/WicDecoders.h"

#include "hosting/WicFactory.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <cwctype>

using Microsoft::WRL::ComPtr;

namespace Tesmo::PluginHost
{

namespace
{

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

bool NonEmptyText(HKEY root, const std::wstring& keyPath, const wchar_t* valueName)
{
    DWORD type = 0;
    DWORD bytes = 0;
    return RegGetValueW(root, keyPath.c_str(), valueName, RRF_RT_ANY, &type, nullptr, &bytes) == ERROR_SUCCESS &&
           type == REG_SZ && bytes > sizeof(wchar_t);
}

} // namespace

std::vector<WicDecoder> EnumerateWicDecoders()
{
    const ComPtr<IWICImagingFactory> factory = CreateWicFactory();
    ComPtr<IEnumUnknown> components;
    if (FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &components)))
    {
        return {};
    }
    std::vector<WicDecoder> decoders;
    ComPtr<IUnknown> component;
    while (components->Next(1, component.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        ComPtr<IWICBitmapCodecInfo> info;
        if (FAILED(component.As(&info)))
        {
            continue;
        }
        WicDecoder decoder;
        decoder.friendlyName = ReadWicString(*info.Get(), &IWICComponentInfo::GetFriendlyName);
        decoder.declaredExtensions = ReadWicString(*info.Get(), &IWICBitmapCodecInfo::GetFileExtensions);
        info->GetContainerFormat(&decoder.container);
        info->GetCLSID(&decoder.clsid);
        decoders.push_back(std::move(decoder));
    }
    return decoders;
}

std::vector<std::wstring> SplitDeclaredExtensions(const std::wstring& declared)
{
    std::vector<std::wstring> extensions;
    std::wstring::size_type start = 0;
    while (start <= declared.size())
    {
        const std::wstring::size_type end = std::min(declared.find_first_of(L",;", start), declared.size());
        std::wstring extension = declared.substr(start, end - start);
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

bool CompletelyRegistered(const CLSID& clsid)
{
    const std::wstring instanceKey = std::wstring(decoderInstanceKeys) + L"\\" + GuidText(clsid);
    return NonEmptyText(HKEY_CLASSES_ROOT, instanceKey, L"FriendlyName") &&
           NonEmptyText(HKEY_CLASSES_ROOT, instanceKey, L"CLSID") &&
           NonEmptyText(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(clsid), L"FileExtensions");
}

std::wstring GuidText(const GUID& guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

} // namespace Tesmo::PluginHost
