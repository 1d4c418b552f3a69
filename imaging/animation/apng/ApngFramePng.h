#pragma once

#include "imaging/animation/apng/ApngRecords.h"

#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// Frame frame of the animation in file (the bytes its records were read from) as a still
// PNG stream of its own, for any PNG decoder: the signature, IHDR with the frame's size
// and the file's bit depth, colour type and interlace method, the file's colour chunks
// (so that the frame says what its samples mean, as the file does), PLTE and tRNS, one
// IDAT per piece of the frame's image data, and IEND, each chunk with its CRC. Throws
// std::bad_alloc when it does not fit in memory.
std::vector<std::uint8_t> BuildFramePng(const std::uint8_t* file, const ApngRecords& records,
                                        const ApngFrameRecord& frame);

} // namespace Tesmo::Plugin::Imaging
