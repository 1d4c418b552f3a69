#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace Tesmo::PluginHost
{

// A registry value exactly as stored: its type and raw bytes.
struct RegistryValue
{
    DWORD type;
    std::string bytes;
};

// The text's UTF-16 units followed by a zero unit, stored as the given type.
RegistryValue TextValue(const std::wstring& text, DWORD type = REG_SZ);

// One decoder as a test registers it. A value or key left out is not created at all.
struct DecoderRegistration
{
    std::wstring instanceName; // subkey of the decoder category's instance list
    std::optional<RegistryValue> friendlyName;
    std::optional<RegistryValue> clsid;
    std::optional<std::wstring> classKeyPath; // where "FileExtensions" goes, e.g. "CLSID\{...}"
    std::optional<RegistryValue> fileExtensions;
};

// A decoder with every value present, as REG_SZ, under a class id of its own.
DecoderRegistration CompleteDecoder(const std::wstring& instanceName, const std::wstring& fileExtensions);

// HKEY_CLASSES_ROOT of this process, redirected to an empty scratch key under
// HKEY_CURRENT_USER for as long as the object lives. The destructor restores the real
// root and deletes the scratch tree, also when the test has failed. Only one may exist at
// a time.
class ScratchClassesRoot
{
public:
    ScratchClassesRoot();
    virtual ~ScratchClassesRoot();
    ScratchClassesRoot(const ScratchClassesRoot&) = delete;
    ScratchClassesRoot& operator=(const ScratchClassesRoot&) = delete;

    // Creates the decoder category's instance list as needed.
    void Register(const DecoderRegistration& decoder) const;

private:
    // Paths are relative to the redirected root; missing keys on the way are created.
    void SetValue(const std::wstring& keyPath, const std::wstring& valueName, const RegistryValue& value) const;
    void CreateKey(const std::wstring& keyPath) const;

    std::wstring scratchPath; // under HKEY_CURRENT_USER
    HKEY scratchRoot = nullptr;
};

} // namespace Tesmo::PluginHost
