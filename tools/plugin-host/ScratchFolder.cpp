#include "ScratchFolder.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace Tesmo::PluginHost
{

namespace
{

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
            {
                continue;
            }
            const std::wstring child = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                RemoveTree(child);
            }
            else
            {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

ScratchFolder::ScratchFolder()
{
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path = std::wstring(temp) + L"wicplugin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
    RemoveTree(path);
    if (!CreateDirectoryW(path.c_str(), nullptr))
    {
        throw std::runtime_error("cannot create a scratch folder");
    }
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(path);
}

std::wstring ScratchFolder::Write(const std::wstring& name, const std::string& bytes) const
{
    const std::wstring file = *this / name;
    WriteFileBytes(file, bytes);
    return file;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        throw std::runtime_error("cannot create a test file");
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
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

std::wstring FolderOfThisProgram()
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

} // namespace Tesmo::PluginHost
