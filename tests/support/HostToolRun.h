#pragma once

#include "support/ChildProcess.h"

#include <string>
#include <vector>

namespace Tesmo::Tests
{

// Runs the built plugin-host.exe beside the test program as a process of its own with
// the arguments (each quoted; none may hold a quote), and returns what it wrote to its
// standard output and error.
//
// Under Wine, dllsSwitchedOff names system DLLs (e.g. L"windowscodecs") the tool must run
// without. WINEDLLOVERRIDES in a child's environment block does not do it: Wine reads it
// from the Unix environment a child inherits from the Wine process that started it. What
// Wine does read per program is HKCU\Software\Wine\AppDefaults\NAME.exe\DllOverrides, so
// the tool then runs as a copy of its own name in a scratch folder, with that key made for
// the run and removed after it.
//
// Throws std::runtime_error when the process cannot be started.
ChildRun RunHostTool(const std::vector<std::wstring>& arguments,
                        const std::vector<std::wstring>& dllsSwitchedOff = {});

} // namespace Tesmo::Tests
