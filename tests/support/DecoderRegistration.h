#pragma once

#include "support/FileBytes.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
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
inline RegistryValue TextValue(const std::wstring& text, DWORD type = REG_SZ)
{
    return {type, Utf16Bytes(text + L'\0')};
}

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
inline DecoderRegistration CompleteDecoder(const std::wstring& instanceName, const std::wstring& fileExtensions)
{
    static std::atomic<unsigned> counter{0};
    wchar_t classId[40] = {};
    std::swprintf(classId, 40, L"{DEC0DE00-0000-4000-8000-%012u}", ++counter);
    return {instanceName, TextValue(instanceName + L" decoder"), TextValue(classId), L"CLSID\\" + std::wstring(classId),
            TextValue(fileExtensions)};
}

} // namespace Tesmo::Tests
