#pragma once

#include "BenchmarkImages.h"
#include "hosting/PluginLibrary.h"

namespace Tesmo::Benchmarks
{

// Prints the plug-in's decodes per second of image on one thread and on two, from
// threads that have not joined COM, and the scaling between the two.
void MeasureThreadScaling(const PluginHost::PluginLibrary& plugin, const BenchmarkImage& image);

} // namespace Tesmo::Benchmarks
