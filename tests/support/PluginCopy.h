#pragma once

#include "hosting/PluginLibrary.h"
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"

#include <memory>
#include <string>

namespace Tesmo::Tests
{

// A copy of the built plug-in in a scratch folder of its own, under a file name the test
// chooses, with the settings file the test wants beside it, loaded through LoadLibraryW.
class PluginCopy
{
public:
    explicit PluginCopy(const std::wstring& fileName = L"WicImagePlugin.dll");
    virtual ~PluginCopy() = default;

    // The settings file the module reads: its own name with ".ini" for the last extension.
    std::wstring SettingsPath() const;
    void WriteSettings(const std::wstring& text) const { WriteUtf16File(SettingsPath(), text); }

    // Loads the copy; settings may be written before or after.
    const PluginHost::PluginLibrary& Load();

    const ScratchFolder& Folder() const { return folder; }
    const std::wstring& ModulePath() const { return modulePath; }

private:
    ScratchFolder folder;
    std::wstring modulePath;
    std::unique_ptr<PluginHost::PluginLibrary> library;
};

// The folder of the running test program, where the build puts the plug-in and the
// committed fixtures.
std::wstring FolderOfThisProgram();
// The plug-in the build made, beside the test program.
std::wstring BuiltPluginPath();

} // namespace Tesmo::Tests
