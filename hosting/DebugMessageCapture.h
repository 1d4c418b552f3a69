#pragma once

#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// Records, in this process, every text sent to the debugger output (OutputDebugStringA/W)
// while the object lives, on any thread. OutputDebugString raises DBG_PRINTEXCEPTION_C
// (0x40010006, narrow text) in Wine; Windows 10 and later raise DBG_PRINTEXCEPTION_WIDE_C
// (0x4001000A, wide text) first. A vectored handler records either and lets the program
// continue as if no debugger were attached.
class DebugMessageCapture
{
public:
    DebugMessageCapture();
    virtual ~DebugMessageCapture();
    DebugMessageCapture(const DebugMessageCapture&) = delete;
    DebugMessageCapture& operator=(const DebugMessageCapture&) = delete;

    std::vector<std::wstring> Messages() const;

private:
    void* handler;
};

} // namespace Tesmo::PluginHost
