#include "support/FileBytes.h"

#include "support/HandleOwner.h"
#include "support/PluginCopy.h"

#include <windows.h>

#include <stdexcept>

namespace Tesmo::Tests
{

std::string ReadFileBytes(const std::wstring& path)
{
    const HandleOwner file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (file.get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 << 20)
    {
        throw std::runtime_error("cannot read a test file");
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
    {
        throw std::runtime_error("cannot read a test file");
    }
    return bytes;
}

std::string FixtureBytes(const wchar_t* name)
{
    return ReadFileBytes(FolderOfThisProgram() + L"\\fixtures\\" + name);
}

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

std::uint64_t LastAccessTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    {
        throw std::runtime_error("cannot read the times of a test file");
    }
    return std::uint64_t{data.ftLastAccessTime.dwHighDateTime} << 32 | data.ftLastAccessTime.dwLowDateTime;
}

void SetLastAccessTime(const std::wstring& path, std::uint64_t ticks)
{
    const HandleOwner file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    if (file.get() == INVALID_HANDLE_VALUE || !SetFileTime(file.get(), nullptr, &time, nullptr))
    {
        throw std::runtime_error("cannot set the last-access time of a test file");
    }
}

} // namespace Tesmo::Tests
