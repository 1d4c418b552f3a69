#pragma once

#include <windows.h>

#include <memory>

namespace Tesmo::Tests
{

// A kernel handle closed once when its owner goes. A failed CreateFileW leaves
// INVALID_HANDLE_VALUE, which is not a handle and is not closed.
struct CloseHandleOnce
{
    void operator()(HANDLE handle) const
    {
        if (handle != INVALID_HANDLE_VALUE)
        {
            CloseHandle(handle);
        }
    }
};
using HandleOwner = std::unique_ptr<void, CloseHandleOnce>;

} // namespace Tesmo::Tests
