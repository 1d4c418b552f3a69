#pragma once

#include "imaging/PngChunks.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// A PNG without a profile of its own may still say how its numbers map to light: gAMA
// gives the power its samples are encoded with (sample = light^gamma), cHRM the
// primaries and white point they are in. PNG's precedence puts cICP, iCCP and sRGB above
// both, and decoders apply them to such a file (browsers do; WIC does not).

// The ICC profile of the stream's gAMA (and cHRM, else sRGB's primaries), made for the
// matrix-and-curves path: a GRAY profile for grey colour types, an RGB one otherwise.
// Nothing when the stream has cICP, iCCP or sRGB, or no gAMA, or one out of the range
// libpng accepts (0 among them). A cHRM that makes no colour space is ignored, as
// browsers ignore it. As in libpng, only the chunks before PLTE count. bytes hold the
// stream the chunks were read from, IHDR first.
std::optional<std::vector<std::uint8_t>> PngGammaProfile(const std::uint8_t* bytes, const std::vector<PngChunk>& chunks);

} // namespace Tesmo::Plugin::Imaging
