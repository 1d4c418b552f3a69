#pragma once

#include <string>

namespace Tesmo::Benchmarks
{

// Starts commandLine as a process of its own, with this process's standard error and
// input, waits for it to end and returns what it wrote to its standard output. Throws
// std::runtime_error when the process cannot be started.
std::string RunForOutput(std::wstring commandLine);

} // namespace Tesmo::Benchmarks
