#pragma once

#include <windows.h>

namespace Tesmo::PluginHost
{

// Throws std::runtime_error naming the step (what) and the code when result is a failure
// code. Registry and other Win32 calls pass HRESULT_FROM_WIN32(their error).
void ThrowIfFailed(HRESULT result, const char* what);

} // namespace Tesmo::PluginHost
