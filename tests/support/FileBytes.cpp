#include "support/FileBytes.h"

#include "support/HandleOwner.h"

#include <windows.h>

#include <stdexcept>

namespace Tesmo::Tests
{

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    const HandleOwner file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file.get() == INVALID_HANDLE_VALUE ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
    {
        throw std::runtime_error("cannot write a test file");
    }
}

std::string Utf16Bytes(const std::wstring& text)
{
    std::string bytes;
    for (const wchar_t unit : text)
    {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    WriteFileBytes(path, "\xFF\xFE" + Utf16Bytes(text));
}

} // namespace Tesmo::Tests
