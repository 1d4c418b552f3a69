#include "hosting/DebugMessageCapture.h"

#include <windows.h>

#include <mutex>
#include <stdexcept>

namespace Tesmo::PluginHost
{

namespace
{

constexpr DWORD narrowDebugPrint = 0x40010006; // DBG_PRINTEXCEPTION_C
constexpr DWORD wideDebugPrint = 0x4001000A;   // DBG_PRINTEXCEPTION_WIDE_C

std::mutex recordLock;
std::vector<std::wstring> recorded;

LONG CALLBACK RecordDebugPrint(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if ((record.ExceptionCode != narrowDebugPrint && record.ExceptionCode != wideDebugPrint) ||
        record.NumberParameters < 2)
    {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    // ExceptionInformation[0]: length in characters, terminator included; [1]: the text.
    const auto length = static_cast<std::size_t>(record.ExceptionInformation[0]);
    std::wstring text;
    if (record.ExceptionCode == wideDebugPrint)
    {
        text.assign(reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]), length);
    }
    else
    {
        const auto* narrow = reinterpret_cast<const unsigned char*>(record.ExceptionInformation[1]);
        text.assign(narrow, narrow + length);
    }
    while (!text.empty() && text.back() == L'\0')
    {
        text.pop_back();
    }
    const std::lock_guard<std::mutex> guard(recordLock);
    recorded.push_back(text);
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

DebugMessageCapture::DebugMessageCapture()
{
    {
        const std::lock_guard<std::mutex> guard(recordLock);
        recorded.clear();
    }
    handler = AddVectoredExceptionHandler(1, RecordDebugPrint);
    if (handler == nullptr)
    {
        throw std::runtime_error("cannot install the debugger-output handler");
    }
}

DebugMessageCapture::~DebugMessageCapture()
{
    RemoveVectoredExceptionHandler(handler);
}

std::vector<std::wstring> DebugMessageCapture::Messages() const
{
    const std::lock_guard<std::mutex> guard(recordLock);
    return recorded;
}

} // namespace Tesmo::PluginHost
