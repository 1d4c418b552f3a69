#pragma once

#include <string>

namespace Tesmo::Tests
{

// What a leak would show: the process's committed private memory and its open handles.
struct ProcessFigures
{
    unsigned long long privateBytes = 0;
    long handles = 0;
};

// The commit charge (PagefileUsage, which Windows reports as private bytes and Wine keeps
// up to date where its PrivateUsage lags) and the handle count.
ProcessFigures CurrentProcessFigures();

std::string Describe(const ProcessFigures& figures);

} // namespace Tesmo::Tests
