#include "support/OpenHandles.h"

#include <windows.h>

namespace Tesmo::Tests
{

namespace
{

// Wine hands out the lowest free handle slot, so every handle opened since the last count
// sits within the run of slots this probe walks; past this many empty slots in a row
// there are none.
constexpr unsigned int emptySlotsThatEndTheTable = 64;

} // namespace

long CountOpenHandles()
{
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
    {
        return static_cast<long>(count);
    }
    // Wine answers 0 above. Its system-wide handle list is no way out: Wine 8's server
    // crashes when that list is asked for while another process starts or ends. So each
    // slot of this process's own table is asked whether it holds a handle.
    long found = 0;
    unsigned int emptyInARow = 0;
    for (ULONG_PTR value = 4; emptyInARow < emptySlotsThatEndTheTable; value += 4)
    {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
        {
            ++found;
            emptyInARow = 0;
        }
        else
        {
            ++emptyInARow;
        }
    }
    return found;
}

} // namespace Tesmo::Tests
