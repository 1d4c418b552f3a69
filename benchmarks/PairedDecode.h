#pragma once

#include "AlternatingRuns.h"
#include "WorkerThread.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// What one of the plug-in's pixel steps costs: a picture that needs the step (turning it
// upright, converting its colours, compositing its alpha) against the same pixels stored
// so that it does not, both decoded through the plug-in on pluginThread, taking turns.

// Paths in the ANSI code page, as a host passes them. The subject's times come first (as
// Comparison::plugin), the reference's second (as Comparison::bare).
Comparison TimePluginPair(const PluginHost::PluginLibrary& plugin, WorkerThread& pluginThread,
                          const std::string& subject, const std::string& reference);

// One file of a pair, as bytes to be written under a name.
struct PairFile
{
    std::wstring name;
    std::string bytes;
};

// What the step must do to the pixels for the run to count: a plug-in that skipped the
// step would otherwise pass for a fast one.
enum class StepEffect
{
    ChangesPixels,
    Unchecked, // the step may leave every pixel as it was (an sRGB profile, say)
};

// Writes both files into folder, checks that the plug-in hands over width x height for
// each and, as effect says, different pixels for the subject; times the pair as above and
// removes the files again, so that a run does not keep every large picture on disk at once.
// Throws std::runtime_error when a check fails.
Comparison TimeWrittenPair(const PluginHost::PluginLibrary& plugin, WorkerThread& pluginThread,
                           const std::wstring& folder, const PairFile& subject, const PairFile& reference,
                           unsigned int width, unsigned int height, StepEffect effect);

} // namespace Tesmo::Benchmarks
