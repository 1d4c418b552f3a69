#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// Where the registry lists WIC's decoders: the decoder category's instance keys,
// relative to HKEY_CLASSES_ROOT. Windows and Wine name each key after the decoder's class.
inline constexpr wchar_t decoderInstanceKeys[] = L"CLSID\\{7ED96837-96F0-4812-B211-F13C24117ED3}\\Instance";

// One decoder as WIC's own component enumerator reports it.
struct WicDecoder
{
    std::wstring friendlyName;
    GUID container{};
    CLSID clsid{};
    std::wstring declaredExtensions; // as WIC gives them, separators and dots included
};

// Every decoder WIC's component enumerator reports, in its order. The calling thread must
// have joined COM. Throws std::runtime_error when WIC's factory cannot be made.
std::vector<WicDecoder> EnumerateWicDecoders();

// A declared extension list taken apart at ',' and ';' (Wine's decoders use both): each
// extension without its dot and surrounding blanks, ASCII letters lowered, empty ones
// dropped.
std::vector<std::wstring> SplitDeclaredExtensions(const std::wstring& declared);

// Whether the decoder's registration is complete in the registry: its instance key holds
// "FriendlyName" and "CLSID" and its class key "FileExtensions", all non-empty text.
bool CompletelyRegistered(const CLSID& clsid);

// A GUID as the registry writes it: upper-case digits in braces.
std::wstring GuidText(const GUID& guid);

} // namespace Tesmo::PluginHost
