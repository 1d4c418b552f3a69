#include "support/DecoderRegistration.h"

#include "support/FileBytes.h"

#include <atomic>
#include <cstdio>

namespace Tesmo::Tests
{

namespace
{

std::wstring NextClassId()
{
    static std::atomic<unsigned> counter{0};
    wchar_t text[40] = {};
    std::swprintf(text, 40, L"{DEC0DE00-0000-4000-8000-%012u}", ++counter);
    return text;
}

} // namespace

RegistryValue TextValue(const std::wstring& text, DWORD type)
{
    return {type, Utf16Bytes(text + L'\0')};
}

DecoderRegistration CompleteDecoder(const std::wstring& instanceName, const std::wstring& fileExtensions)
{
    const std::wstring classId = NextClassId();
    return {instanceName, TextValue(instanceName + L" decoder"), TextValue(classId), L"CLSID\\" + classId,
            TextValue(fileExtensions)};
}

} // namespace Tesmo::Tests
