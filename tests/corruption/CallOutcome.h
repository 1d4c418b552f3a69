#pragma once

#include "host/ImageDataCall.h"

#include <gtest/gtest.h>

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

} // namespace Tesmo::Tests::Corruption
