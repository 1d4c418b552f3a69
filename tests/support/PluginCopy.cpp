#include "support/PluginCopy.h"

#include <windows.h>

#include <stdexcept>

namespace Tesmo::Tests
{

std::wstring FolderOfThisProgram()
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring BuiltPluginPath()
{
    return FolderOfThisProgram() + L"\\WicImagePlugin.dll";
}

PluginCopy::PluginCopy(const std::wstring& fileName) : modulePath(folder / fileName)
{
    if (!CopyFileW(BuiltPluginPath().c_str(), modulePath.c_str(), FALSE))
    {
        throw std::runtime_error("cannot copy the built plug-in");
    }
}

std::wstring PluginCopy::SettingsPath() const
{
    return modulePath.substr(0, modulePath.rfind(L'.')) + L".ini";
}

const PluginHost::PluginLibrary& PluginCopy::Load()
{
    if (!library)
    {
        library = std::make_unique<PluginHost::PluginLibrary>(modulePath);
    }
    return *library;
}

} // namespace Tesmo::Tests
