#include "support/ScratchFolder.h"

#include "support/FileBytes.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>

namespace Tesmo::Tests
{

ScratchFolder::ScratchFolder()
{
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path = std::wstring(temp) + L"wicplugin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
    // A folder an earlier process of the same id left behind goes first.
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    if (!CreateDirectoryW(path.c_str(), nullptr))
    {
        throw std::runtime_error("cannot create a scratch folder");
    }
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::wstring ScratchFolder::Write(const std::wstring& name, const std::string& bytes) const
{
    const std::wstring file = *this / name;
    WriteFileBytes(file, bytes);
    return file;
}

} // namespace Tesmo::Tests
