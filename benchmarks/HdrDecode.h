#pragma once

#include "WorkerThread.h"
#include "hosting/PluginLibrary.h"

#include <string>

namespace Tesmo::Benchmarks
{

// The command that writes the HDR benchmark's source picture, and the environment
// variable that names the JPEG XR made from it (scripts/bench.sh makes it with Debian's
// JxrEncApp: Wine has no JPEG XR encoder).
inline constexpr wchar_t hdrSourceCommand[] = L"hdr-source";
inline constexpr wchar_t hdrJpegXrVariable[] = L"PLUGIN_BENCH_HDR";

// Writes a largeMegapixels (4:3) half-float RGBA TIFF of linear light into path: a
// photo-like pattern, SDR white at 1.0, brightening to the right into highlights of 12.5.
int WriteHdrSource(const std::wstring& path, unsigned int largeMegapixels);

// Times the JPEG XR the variable names through the plug-in (read from the frame's own
// half floats, a first pass for its light level, tone mapped into sRGB) against bare
// WIC's CopyPixels of the same frame in its own format (64bppRGBAHalf), a new decoder
// for each run, taking turns. Prints that it was skipped when the variable is not set.
void MeasureHdr(const PluginHost::PluginLibrary& plugin, WorkerThread& pluginThread, WorkerThread& bareThread);

} // namespace Tesmo::Benchmarks
