#pragma once

#include "corruption/CallOutcome.h"
#include "corruption/Corpus.h"

#include <cstddef>
#include <map>
#include <string>

namespace Tesmo::Tests::Corruption
{

// How many cases of each kind ran and how their calls ended, for the test's report.
class OutcomeReport
{
public:
    void CountCase(Kind kind) { ++cases[kind]; }
    void CountCall(Kind kind, Step step) { ++calls[kind][step]; }

    // One line for the source, then one per kind of case with its calls by how they ended.
    std::string Text(const char* label, std::size_t caseCount, std::size_t stride) const;

private:
    std::map<Kind, int> cases;
    std::map<Kind, std::map<Step, int>> calls;
};

} // namespace Tesmo::Tests::Corruption
