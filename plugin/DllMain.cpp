#include <windows.h>

// The module keeps no state: loading and unloading need nothing beyond the runtime's
// own start-up.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
