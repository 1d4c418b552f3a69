#pragma once

#include <string>

namespace Tesmo::Tests
{

struct ChildRun
{
    unsigned long exitCode = 0;
    std::string output; // as the child wrote it, "\r\n" turned into "\n"
};

// Runs commandLine as a process of its own and waits for it to end. Its standard output
// is captured, and so is its standard error when withErrors; otherwise that goes to this
// process's. Throws std::runtime_error when the process cannot be started.
ChildRun RunChildProcess(std::wstring commandLine, bool withErrors);

} // namespace Tesmo::Tests
