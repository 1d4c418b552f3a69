#pragma once

#include "hosting/ImageDataCall.h"

#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// Why a GetImageData call returned -1, in words a user reads without a debugger.

// The failing step in plain words, named from the debugger messages the call sent.
std::string FailingStep(const std::vector<std::wstring>& messages);

// The outputs the call wrote, with their values ("none" when it wrote none): the steps
// before the failing one write theirs.
std::string OutputsWritten(const ImageDataCall& call);

} // namespace Tesmo::PluginHost
