#include "corruption/Outcomes.h"

#include "support/FailureMessages.h"

#include <windows.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <vector>

namespace Tesmo::Tests::Corruption
{

const char* StepName(Step step)
{
    static const char* const names[] = {"decoded",   "factory",    "open", "frame count",     "frame",  "size",
                                        "converter", "initialize", "copy", "copy, no buffer", "unknown"};
    return names[step];
}

Step CheckOutputs(const PluginHost::ImageDataCall& call, unsigned int frame, bool indexPastCountPasses, const std::string& where)
{
    constexpr unsigned int unwritten = PluginHost::ImageDataCall::unwritten;
    Step step = Decoded;
    if (call.result == 0)
    {
        EXPECT_TRUE(call.messages.empty()) << where;
        EXPECT_NE(call.pixels, nullptr) << where;
        if (!indexPastCountPasses)
        {
            EXPECT_GT(call.frameCount, frame) << where;
        }
    }
    else
    {
        EXPECT_EQ(call.result, -1) << where;
        const auto found = call.messages.size() != 1
                               ? std::end(failureMessages)
                               : std::find(std::begin(failureMessages), std::end(failureMessages), call.messages[0]);
        if (found == std::end(failureMessages))
        {
            ADD_FAILURE() << where << ": " << call.messages.size() << " messages, not one known one";
            return Unknown;
        }
        step = static_cast<Step>(Factory + (found - std::begin(failureMessages)));
        step = step == Copy && call.pixels == nullptr ? CopyWithoutBuffer : step;
    }

    // Each output is written by its own step once that step has succeeded.
    const std::string context = where + " (" + StepName(step) + ")";
    const bool bufferWritten = step == Decoded || step >= Copy;
    EXPECT_EQ(call.frameCount != unwritten, step == Decoded || step >= Frame) << context;
    EXPECT_EQ(call.width != unwritten, step == Decoded || step >= Converter) << context;
    EXPECT_EQ(call.height != unwritten, step == Decoded || step >= Converter) << context;
    EXPECT_EQ(call.byteCount != unwritten, bufferWritten) << context;
    EXPECT_EQ(call.pixels != PluginHost::ImageDataCall::UnwrittenPointer(), bufferWritten) << context;
    const std::uint64_t size = std::uint64_t{call.width} * call.height * 3;
    if (step == CopyWithoutBuffer)
    {
        EXPECT_TRUE((call.byteCount == 0 && size > UINT32_MAX) || call.byteCount == size)
            << context << ": " << call.width << " x " << call.height << ", byte count " << call.byteCount;
    }
    else if (bufferWritten)
    {
        EXPECT_EQ(call.byteCount, size) << context << ": " << call.width << " x " << call.height;
        EXPECT_EQ(_msize(call.pixels), call.byteCount) << context;
    }
    return step;
}

testing::AssertionResult HeapsIntact()
{
    std::vector<HANDLE> heaps(64);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    if (heaps.empty() || heaps.size() > 64)
    {
        return testing::AssertionFailure() << heaps.size() << " heaps";
    }
    for (const HANDLE heap : heaps)
    {
        if (!HeapValidate(heap, 0, nullptr))
        {
            return testing::AssertionFailure() << "heap " << heap << " is corrupt";
        }
    }
    if (_heapchk() != _HEAPOK)
    {
        return testing::AssertionFailure() << "the C runtime's heap is corrupt";
    }
    return testing::AssertionSuccess();
}

std::string OutcomeReport::Text(const char* label, std::size_t caseCount) const
{
    // Every case runs; the run figure stays so that reports compare line by line with earlier ones.
    std::ostringstream report;
    report << label << ": " << caseCount << " cases, " << caseCount << " run; calls by how they ended:";
    for (const auto& [kind, count] : cases)
    {
        report << "\n  " << KindName(kind) << " " << count;
        const char* separator = ": ";
        if (const auto ended = calls.find(kind); ended != calls.end())
        {
            for (const auto& [step, number] : ended->second)
            {
                report << separator << StepName(step) << " " << number;
                separator = ", ";
            }
        }
    }
    return report.str();
}

} // namespace Tesmo::Tests::Corruption
