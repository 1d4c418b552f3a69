#pragma once

#include "hosting/PluginLibrary.h"

#include <gtest/gtest.h>

#include <string>

namespace Tesmo::Tests
{

// One GetDisplayName call into a buffer followed by guard bytes, every byte holding a
// marker beforehand, so a test sees each byte the call wrote.
class DisplayNameCall
{
public:
    DisplayNameCall(const PluginHost::PluginLibrary& plugin, unsigned int bufferSize)
        : buffer(bufferSize + guardBytes, untouched)
    {
        result = plugin.getDisplayName(buffer.data(), bufferSize);
    }
    virtual ~DisplayNameCall() = default;

    // The buffer's text up to its first zero byte.
    std::string Name() const { return buffer.c_str(); }

    // On success nothing past the name's terminator was written, on failure nothing at all.
    testing::AssertionResult WroteOnlyTheName() const
    {
        for (auto i = result == 0 ? Name().size() + 1 : 0; i < buffer.size(); ++i)
        {
            if (buffer[i] != untouched)
            {
                return testing::AssertionFailure() << "byte " << i << " was written";
            }
        }
        return testing::AssertionSuccess();
    }

    int result = 0;

private:
    static constexpr char untouched = '\xCC';
    static constexpr unsigned int guardBytes = 32;

    std::string buffer;
};

} // namespace Tesmo::Tests
