#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace Tesmo::Tests
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

} // namespace Tesmo::Tests
