#include "support/OpenHandles.h"

#include <windows.h>

namespace Tesmo::Tests
{

namespace
{

// Wine hands out the lowest free handle slot, so a handle opened since the last count
// lands in the first empty slot, within the run of slots this probe walks before it meets
// this many empty ones in a row. The run only decides where counting stops; a few slots
// keep each count to a couple of milliseconds (every probe is a trip to Wine's server).
constexpr unsigned int emptySlotsThatEndTheTable = 16;

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
