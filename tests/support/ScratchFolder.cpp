#include "support/ScratchFolder.h"

#include "support/FileBytes.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace Tesmo::Tests
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

} // namespace Tesmo::Tests
