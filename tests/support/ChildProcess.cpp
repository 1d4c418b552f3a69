#include "support/ChildProcess.h"

#include "support/HandleOwner.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace Tesmo::Tests
{

ChildRun RunChildProcess(std::wstring commandLine, bool withErrors)
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
    startup.hStdError = withErrors ? writeEnd : GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    // Only the child holds the write end now, so the reads below end when the child does.
    writer.reset();
    if (!started)
    {
        throw std::runtime_error("cannot start a child process");
    }
    const HandleOwner process(child.hProcess);
    const HandleOwner thread(child.hThread);
    ChildRun run;
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

} // namespace Tesmo::Tests
