#include "support/DisplayNameCall.h"

namespace Tesmo::Tests
{

namespace
{

constexpr char untouched = '\xCC';
constexpr unsigned int guardBytes = 32;

} // namespace

DisplayNameCall::DisplayNameCall(const PluginHost::PluginLibrary& plugin, unsigned int bufferSize)
    : buffer(bufferSize + guardBytes, untouched)
{
    result = plugin.getDisplayName(buffer.data(), bufferSize);
}

testing::AssertionResult DisplayNameCall::WroteOnlyTheName() const
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

} // namespace Tesmo::Tests
