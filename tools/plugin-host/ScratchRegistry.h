#pragma once

#include <windows.h>

#include <string>

namespace Tesmo::PluginHost
{

// A registry tree of the caller's own under HKEY_CURRENT_USER that stands in for
// HKEY_CLASSES_ROOT in this process while the object lives: the real registrations stay
// untouched, and the override is lifted and the tree deleted on destruction.
class ScratchRegistry
{
public:
    ScratchRegistry();
    virtual ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // Writes a value of any type with exactly the given bytes, creating the key path.
    void SetValue(const std::wstring& keyPath, const std::wstring& valueName, DWORD type, const void* data,
                  DWORD byteCount) const;
    // Writes REG_SZ text with its terminator.
    void SetString(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& text) const;
    void CreateKey(const std::wstring& keyPath) const;

    // Registers a decoder the way WIC does: an instance key in the decoder category with
    // "FriendlyName" and "CLSID", and the class key with "FileExtensions".
    void AddDecoder(const std::wstring& instanceName, const std::wstring& friendlyName, const std::wstring& clsid,
                    const std::wstring& fileExtensions) const;

    static const wchar_t* const decoderInstancesPath;

private:
    std::wstring rootPath;
    HKEY root = nullptr;
};

} // namespace Tesmo::PluginHost
