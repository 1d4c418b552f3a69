#include "support/HostToolRun.h"

#include "support/PluginCopy.h"
#include "support/ScratchFolder.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

namespace Tesmo::Tests
{

namespace
{

struct CloseHandleOwner
{
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using HandleOwner = std::unique_ptr<void, CloseHandleOwner>;

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

HostToolRun Run(std::wstring commandLine)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
    {
        throw std::runtime_error("cannot create a pipe");
    }
    const HandleOwner reader(readEnd);
    HandleOwner writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION child{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    // Only the child holds the write end now, so the reads below end when the child does.
    writer.reset();
    if (!started)
    {
        throw std::runtime_error("cannot start the host tool");
    }
    const HandleOwner process(child.hProcess);
    const HandleOwner thread(child.hThread);
    HostToolRun run;
    char chunk[512];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
    {
        run.output.append(chunk, got);
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    GetExitCodeProcess(child.hProcess, &run.exitCode);
    run.output.erase(std::remove(run.output.begin(), run.output.end(), '\r'), run.output.end());
    return run;
}

} // namespace

HostToolRun RunHostTool(const std::vector<std::wstring>& arguments, const std::vector<std::wstring>& dllsSwitchedOff)
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
    return Run(commandLine);
}

} // namespace Tesmo::Tests
