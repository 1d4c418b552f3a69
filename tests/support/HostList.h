#pragma once

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace Tesmo::Tests
{

// The list GetSupportedExtensions hands over, owned as the host owns it: released with
// the runtime's free.
struct FreeWithRuntime
{
    void operator()(char* list) const { std::free(list); }
};
using HostList = std::unique_ptr<char, FreeWithRuntime>;

// There is a list, and its buffer is exactly the text and its terminator.
inline testing::AssertionResult IsWholeList(const HostList& list)
{
    if (list == nullptr)
    {
        return testing::AssertionFailure() << "no list";
    }
    const std::size_t size = _msize(list.get());
    if (size != std::strlen(list.get()) + 1)
    {
        return testing::AssertionFailure() << "a buffer of " << size << " bytes for " << list.get();
    }
    return testing::AssertionSuccess();
}

} // namespace Tesmo::Tests
