#pragma once

#include "utilities/DecoderInfo.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace Tesmo::Plugin::Utilities
{

// Where WIC lists its registered decoders: the decoder category's instance keys,
// relative to HKEY_CLASSES_ROOT.
inline constexpr wchar_t decoderInstanceList[] = L"CLSID\\{7ED96837-96F0-4812-B211-F13C24117ED3}\\Instance";

// The image decoders WIC has on this machine, read from HKEY_CLASSES_ROOT and from WIC's
// component enumerator on demand, and kept only as long as this object lives.
class Wic
{
public:
    Wic() = default;
    virtual ~Wic() = default;

    // Replaces the list with the built-in entry followed by every completely registered
    // decoder, in the registry's enumeration order. False when the decoder category
    // cannot be opened; the built-in entry is there all the same.
    bool EnumerateDecoders();

    // Appends every decoder that WIC's own component enumerator reports and the list does
    // not hold yet (by class id, in any letter case): codecs registered elsewhere than the
    // instance list, such as those installed as Store packages, or whose instance key
    // lacks a value. Their extension lists are given with commas only. False when COM, the
    // factory or the enumerator fails; the list is then as it was.
    bool AddEnumeratedDecoders();

    // Appends the decoder whose instance key is instanceKeyPath (relative to
    // HKEY_CLASSES_ROOT) when its registration is complete; false otherwise.
    bool ReadDecoderInfo(const std::wstring& instanceKeyPath);

    // Reads a REG_SZ value of at most 1024 bytes from an open key, which stays open.
    // On failure text is left unchanged.
    static bool ReadRegistryString(HKEY key, const std::wstring& valueName, std::wstring& text);

    std::size_t DecoderCount() const { return decoders.size(); }
    // Copies the entry at index into decoder; false when there is no such entry.
    bool CopyDecoder(std::size_t index, DecoderInfo& decoder) const;

private:
    bool HoldsDecoder(const std::wstring& clsid) const;

    std::vector<DecoderInfo> decoders;
};

} // namespace Tesmo::Plugin::Utilities
