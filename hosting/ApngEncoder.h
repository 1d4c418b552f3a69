#pragma once

#include "hosting/PngEncoder.h"

#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// Animated PNG files written byte by byte, so that whoever makes one decides every frame's
// rectangle, dispose_op and blend_op, whether the default image is a frame, and can break
// any of it on purpose by editing the chunk list before it is written.

struct ApngFrameToEncode
{
    unsigned int left = 0;
    unsigned int top = 0;
    // The frame's size and samples; its colour type and bit depth must be the animation's,
    // whose palette and transparency it uses. Unused for a shown default image.
    PngImage image;
    unsigned char dispose = 0; // 0 none, 1 background, 2 previous
    unsigned char blend = 0;   // 0 source, 1 over
};

struct ApngToEncode
{
    // The canvas's size; its colour type, bit depth, palette, transparency and profile are
    // the file's; its samples the default image.
    PngImage defaultImage;
    // When true, frames[0] is the default image (an fcTL before the image data, with the
    // canvas's size); otherwise the default image is hidden and every frame has fdAT.
    bool defaultImageShown = false;
    std::vector<ApngFrameToEncode> frames;
};

// The chunks in file order: IHDR, acTL, the default image's tables, fcTL when the default
// image is shown, IDAT, then fcTL and fdAT for each later frame, sequence numbers from 0,
// and IEND. num_frames is the number of frames.
std::vector<PngChunkToWrite> ApngChunks(const ApngToEncode& animation);

// WritePngChunks(ApngChunks(animation)).
std::string EncodeApng(const ApngToEncode& animation);

} // namespace Tesmo::PluginHost
