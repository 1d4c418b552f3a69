// The catalogue's second source: the decoders WIC's component enumerator reports. On
// Windows 10 and 11 the codecs installed as Store packages (HEIF, WebP, AVIF, camera RAW,
// JPEG XL) are registered through their package manifest and never appear in the
// decoder category's instance list; Wine's own decoders appear there without a friendly
// name. WIC opens all of them, so the host must be offered their extensions too.

#include "utilities/Wic.h"

#include "imaging/ComInitialization.h"
#include "imaging/ImagingFactory.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>

namespace Tesmo::Plugin::Utilities
{

namespace
{

using Microsoft::WRL::ComPtr;

// Defined here rather than taken from an import library, as the factory's class id is.
constexpr IID decoderInfoInterface = {0xd8cd007f, 0xd08f, 0x4191, {0x9b, 0xfc, 0x23, 0x6e, 0xa7, 0xf0, 0xe4, 0xb5}};

using StringGetter = HRESULT (STDMETHODCALLTYPE IWICBitmapDecoderInfo::*)(UINT size, WCHAR* text, UINT* actual);

// WIC's string getters, asked once for the length and once for the text, so no length
// cuts a string short. Empty when either call fails or WIC has no text.
std::wstring ReadComponentString(IWICBitmapDecoderInfo& info, StringGetter read)
{
    UINT units = 0;
    if (FAILED((info.*read)(0, nullptr, &units)) || units == 0)
    {
        return {};
    }
    std::wstring text(units, L'\0');
    UINT written = 0;
    if (FAILED((info.*read)(units, text.data(), &written)))
    {
        return {};
    }
    text.resize(std::find(text.begin(), text.end(), L'\0') - text.begin());
    return text;
}

// The class id as the registry writes it: upper-case digits in braces.
std::wstring RegistryText(const CLSID& clsid)
{
    wchar_t text[40] = {};
    return StringFromGUID2(clsid, text, 40) > 0 ? text : L"";
}

// Wine's decoders separate their extensions with ';' as well as ','.
std::wstring CommaSeparated(std::wstring extensions)
{
    std::replace(extensions.begin(), extensions.end(), L';', L',');
    return extensions;
}

} // namespace

bool Wic::AddEnumeratedDecoders()
{
    // Declared first, so COM is uninitialised only after every interface is released. A
    // thread already in another apartment is used as it is.
    const Imaging::ComInitialization com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IEnumUnknown> components;
    if (FAILED(Imaging::CreateImagingFactory(factory.GetAddressOf())) ||
        FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &components)))
    {
        return false;
    }

    ComPtr<IUnknown> component;
    while (components->Next(1, component.ReleaseAndGetAddressOf(), nullptr) == S_OK)
    {
        ComPtr<IWICBitmapDecoderInfo> info;
        CLSID clsid{};
        if (FAILED(component->QueryInterface(decoderInfoInterface, reinterpret_cast<void**>(info.GetAddressOf()))) ||
            FAILED(info->GetCLSID(&clsid)))
        {
            continue;
        }
        DecoderInfo decoder{ReadComponentString(*info.Get(), &IWICBitmapDecoderInfo::GetFriendlyName),
                            RegistryText(clsid),
                            CommaSeparated(ReadComponentString(*info.Get(), &IWICBitmapDecoderInfo::GetFileExtensions))};
        // Skipped for the reasons a registration is skipped: no name or no extensions.
        if (decoder.friendlyName.empty() || decoder.clsid.empty() || decoder.fileExtensions.empty() ||
            HoldsDecoder(decoder.clsid))
        {
            continue;
        }
        decoders.push_back(std::move(decoder));
    }
    return true;
}

bool Wic::HoldsDecoder(const std::wstring& clsid) const
{
    return std::any_of(decoders.begin(), decoders.end(), [&](const DecoderInfo& decoder) {
        return CompareStringOrdinal(decoder.clsid.c_str(), static_cast<int>(decoder.clsid.size()), clsid.c_str(),
                                    static_cast<int>(clsid.size()), TRUE) == CSTR_EQUAL;
    });
}

} // namespace Tesmo::Plugin::Utilities
