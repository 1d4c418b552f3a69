#include "ChildProcess.h"

#include <windows.h>

#include <memory>
#include <stdexcept>

namespace Tesmo::Benchmarks
{

namespace
{

struct HandleCloser
{
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

} // namespace

std::string RunForOutput(std::wstring commandLine)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
    {
        throw std::runtime_error("cannot create a pipe");
    }
    const UniqueHandle reader(readEnd);
    UniqueHandle writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &child);
    // Only the child holds the write end now, so the reads below end when the child does.
    writer.reset();
    if (!started)
    {
        throw std::runtime_error("cannot start a child process");
    }
    const UniqueHandle process(child.hProcess);
    const UniqueHandle thread(child.hThread);
    std::string output;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
    {
        output.append(chunk, got);
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    return output;
}

} // namespace Tesmo::Benchmarks
