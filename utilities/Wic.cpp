#include "utilities/Wic.h"

#include "utilities/RegistryKey.h"

#include <algorithm>
#include <array>

namespace Tesmo::Plugin::Utilities
{

namespace
{

// CATID_WICBitmapDecoders: every installed decoder has a subkey here.

// The formats Windows' own codec always decodes; listed even when the registry cannot be
// read.
constexpr const wchar_t* builtInFriendlyName = L"Microsoft Windows Native Imaging Codec";
constexpr const wchar_t* builtInFileExtensions = L".jpg,.jpeg,.tif,.tiff,.gif,.png,.bmp";

constexpr DWORD subkeyNameUnits = 255;
constexpr DWORD valueBufferBytes = 1024;
constexpr std::size_t valueBufferUnits = valueBufferBytes / sizeof(wchar_t);

} // namespace

bool Wic::EnumerateDecoders()
{
    decoders.clear();
    decoders.push_back(DecoderInfo{builtInFriendlyName, L"", builtInFileExtensions});

    const RegistryKey instanceList(HKEY_CLASSES_ROOT, decoderInstanceList, KEY_ENUMERATE_SUB_KEYS);
    if (!instanceList.IsOpen())
    {
        return false;
    }

    for (DWORD index = 0;; ++index)
    {
        std::array<wchar_t, subkeyNameUnits> name{};
        DWORD nameUnits = subkeyNameUnits;
        // Any failure ends the walk, not only the end of the list: a name of 255 units
        // leaves no room for its terminator and stops it too, dropping the decoders after it.
        if (RegEnumKeyExW(instanceList.Handle(), index, name.data(), &nameUnits, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
        {
            break;
        }
        ReadDecoderInfo(std::wstring(decoderInstanceList) + L"\\" + name.data());
    }
    return true;
}

bool Wic::ReadDecoderInfo(const std::wstring& instanceKeyPath)
{
    DecoderInfo decoder;
    {
        const RegistryKey instance(HKEY_CLASSES_ROOT, instanceKeyPath, KEY_QUERY_VALUE);
        if (!instance.IsOpen() || !ReadRegistryString(instance.Handle(), L"FriendlyName", decoder.friendlyName) ||
            !ReadRegistryString(instance.Handle(), L"CLSID", decoder.clsid))
        {
            return false;
        }
    }

    const RegistryKey decoderClass(HKEY_CLASSES_ROOT, L"CLSID\\" + decoder.clsid, KEY_QUERY_VALUE);
    if (!decoderClass.IsOpen() || !ReadRegistryString(decoderClass.Handle(), L"FileExtensions", decoder.fileExtensions))
    {
        return false;
    }
    // An empty class id opens the CLSID key itself, so it must not count as a decoder
    // even when that key happens to carry extensions.
    if (decoder.friendlyName.empty() || decoder.clsid.empty() || decoder.fileExtensions.empty())
    {
        return false;
    }
    decoders.push_back(std::move(decoder));
    return true;
}

bool Wic::ReadRegistryString(HKEY key, const std::wstring& valueName, std::wstring& text)
{
    std::array<wchar_t, valueBufferUnits> data{};
    DWORD type = 0;
    DWORD dataBytes = valueBufferBytes;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &dataBytes) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
    {
        return false;
    }
    // A value that fills the buffer need not be terminated; the zeroed buffer bounds the
    // text either way.
    text.assign(data.data(), std::find(data.begin(), data.end(), L'\0'));
    return true;
}

bool Wic::CopyDecoder(std::size_t index, DecoderInfo& decoder) const
{
    if (index >= decoders.size())
    {
        return false;
    }
    decoder = decoders[index];
    return true;
}

} // namespace Tesmo::Plugin::Utilities
