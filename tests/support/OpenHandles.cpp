#include "support/OpenHandles.h"

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace Tesmo::Tests
{

namespace
{

// SystemExtendedHandleInformation: every open handle in the system with its owner.
constexpr auto extendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
constexpr NTSTATUS infoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

struct HandleEntry
{
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};

struct HandleTable
{
    ULONG_PTR handleCount;
    ULONG_PTR reserved;
    HandleEntry handles[1];
};

} // namespace

long CountOpenHandles()
{
    std::vector<char> buffer(1 << 16);
    NTSTATUS status = infoLengthMismatch;
    while (status == infoLengthMismatch)
    {
        buffer.resize(buffer.size() * 2);
        status = NtQuerySystemInformation(extendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                          nullptr);
    }
    if (status != 0)
    {
        return -1;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long count = 0;
    for (ULONG_PTR index = 0; index < table->handleCount; ++index)
    {
        count += table->handles[index].processId == GetCurrentProcessId() ? 1 : 0;
    }
    return count;
}

} // namespace Tesmo::Tests
