#pragma once

#include "hosting/PngEncoder.h"

namespace Tesmo::SampleMaker
{

// samples/transparency.png: the scene as 8-bit RGBA with its sky cut out, fully
// transparent above and fading in as haze over the last rows above the horizon. Under the
// transparent sky the file stores another picture, bold yellow and black stripes, that a
// viewer never shows: over a background the sky takes the background's colour, and only
// the stored colours with alpha dropped bring the stripes out.
PluginHost::PngImage TransparentSky();

} // namespace Tesmo::SampleMaker
