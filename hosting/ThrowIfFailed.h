#pragma once

#include <windows.h>

namespace Tesmo::PluginHost
{

// Throws std::runtime_error naming the step (what) and the code when result is a failure
// code.
void ThrowIfFailed(HRESULT result, const char* what);

// The same for a Win32 error code, such as a registry call's result. The SDK's
// HRESULT_FROM_WIN32 is a macro that evaluates its argument twice, so a call written
// inside it runs twice (and a key it opens the first time is never closed); taking the
// code as an argument evaluates the call once.
void ThrowIfWin32Failed(LSTATUS error, const char* what);

} // namespace Tesmo::PluginHost
