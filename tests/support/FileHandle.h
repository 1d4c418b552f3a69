#pragma once

#include <windows.h>

#include <memory>

namespace Tesmo::Tests
{

// A handle from CreateFileW, closed once when its owner goes; a failed open leaves
// INVALID_HANDLE_VALUE, which is not closed.
struct CloseFileHandle
{
    void operator()(HANDLE handle) const
    {
        if (handle != INVALID_HANDLE_VALUE)
        {
            CloseHandle(handle);
        }
    }
};
using FileHandle = std::unique_ptr<void, CloseFileHandle>;

} // namespace Tesmo::Tests
