#pragma once

#include "corruption/Corpus.h"
#include "hosting/ImageDataCall.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>

namespace Tesmo::Tests::Corruption
{

// How a call ended: decoded, or the step its one message names.
// CopyWithoutBuffer: the size does not fit in 32 bits, or malloc failed.
enum Step
{
    Decoded, Factory, Open, FrameCount, Frame, Size, Converter, Initialize, Copy, CopyWithoutBuffer, Unknown
};
const char* StepName(Step step);

// Checks that the call gave a documented answer (exactly the outputs of the steps that
// succeeded, a buffer of exactly width x height x 3 bytes) and says how it ended.
Step CheckOutputs(const PluginHost::ImageDataCall& call, unsigned int frame, bool indexPastCountPasses, const std::string& where);

// Every heap of the process, the C runtime's included, passes its own validation.
testing::AssertionResult HeapsIntact();

// How many cases of each kind ran and how their calls ended, for the test's report.
class OutcomeReport
{
public:
    void CountCase(Kind kind) { ++cases[kind]; }
    void CountCall(Kind kind, Step step) { ++calls[kind][step]; }

    // One line for the source, then one per kind of case with its calls by how they ended.
    std::string Text(const char* label, std::size_t caseCount) const;

private:
    std::map<Kind, int> cases;
    std::map<Kind, std::map<Step, int>> calls;
};

} // namespace Tesmo::Tests::Corruption
