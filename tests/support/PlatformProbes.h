#pragma once

#include <windows.h>

namespace Tesmo::Tests
{

// True when running under Wine rather than Windows.
inline bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

} // namespace Tesmo::Tests
