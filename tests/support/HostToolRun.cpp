#include "support/HostToolRun.h"

#include "support/ChildProcess.h"
#include "support/PluginCopy.h"
#include "support/ScratchFolder.h"

#include <windows.h>

#include <optional>
#include <stdexcept>

namespace Tesmo::Tests
{

namespace
{

// Wine's per-program DLL overrides: an empty value switches the DLL off.
class SwitchedOffDlls
{
public:
    SwitchedOffDlls(const std::wstring& programName, const std::vector<std::wstring>& dlls)
        : key(L"Software\\Wine\\AppDefaults\\" + programName)
    {
        HKEY overrides = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (key + L"\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &overrides, nullptr) != ERROR_SUCCESS)
        {
            throw std::runtime_error("cannot write Wine's DLL overrides");
        }
        for (const std::wstring& dll : dlls)
        {
            RegSetValueExW(overrides, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
        }
        RegCloseKey(overrides);
    }
    virtual ~SwitchedOffDlls() { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }
    SwitchedOffDlls(const SwitchedOffDlls&) = delete;
    SwitchedOffDlls& operator=(const SwitchedOffDlls&) = delete;

private:
    std::wstring key;
};

} // namespace

ChildRun RunHostTool(const std::vector<std::wstring>& arguments, const std::vector<std::wstring>& dllsSwitchedOff)
{
    std::wstring program = FolderOfThisProgram() + L"\\plugin-host.exe";
    std::optional<ScratchFolder> folder;
    std::optional<SwitchedOffDlls> overrides;
    if (!dllsSwitchedOff.empty())
    {
        const std::wstring name = L"plugin-host-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
        program = folder.emplace() / name;
        if (!CopyFileW((FolderOfThisProgram() + L"\\plugin-host.exe").c_str(), program.c_str(), FALSE))
        {
            throw std::runtime_error("cannot copy the host tool");
        }
        overrides.emplace(name, dllsSwitchedOff);
    }
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments)
    {
        commandLine += L" \"" + argument + L"\"";
    }
    return RunChildProcess(commandLine, true);
}

} // namespace Tesmo::Tests
