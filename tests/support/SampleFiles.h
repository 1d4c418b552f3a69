#pragma once

#include "support/ScratchFolder.h"

#include <string>
#include <vector>

namespace Tesmo::Tests
{

// A GetImageData request and what a test expects to learn from it.
struct SampleRequest
{
    std::string path; // ANSI code page, as the host passes it
    unsigned int frameIndex;
    bool succeeds;
    // Decoded in every round of the soak too. Not the CMYK frame: under emulated 32-bit
    // Wine the colour engine (little CMS in x87 code) takes over a second a call to sample
    // its lattice, which would double the soak's time; the threads' test decodes it.
    bool soaked = true;
};

// A mix of images in folder, each format once and multi-frame files at several frames,
// some through Wine's two-stage conversion, every frame of a GIF animation composed,
// the pages of a TIFF photo turned upright as their Orientation tags say, profiled frames
// converted by tables and by the colour engine, a frame with alpha over white, a
// linear-light frame tone mapped, frames of an animated PNG composed,
// plus requests that fail at different steps (missing file, not an image, frame past
// the end, truncated data).
std::vector<SampleRequest> WriteSampleFiles(const ScratchFolder& folder);

} // namespace Tesmo::Tests
