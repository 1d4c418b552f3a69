#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace Tesmo::Tests
{

// A row of a table of cases: its label names the test GoogleTest makes of it and is what
// a failure prints for it.
struct NamedCase
{
    const char* label;
};

inline std::ostream& operator<<(std::ostream& out, const NamedCase& testCase)
{
    return out << testCase.label;
}

// The name printer of every INSTANTIATE_TEST_SUITE_P over NamedCase rows.
struct CaseName
{
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        return info.param.label;
    }
};

} // namespace Tesmo::Tests
