#include "support/PlatformProbes.h"

#include <windows.h>

namespace Tesmo::Tests
{

bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

} // namespace Tesmo::Tests
