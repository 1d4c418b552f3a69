#pragma once

#include "hosting/GifEncoder.h"

namespace Tesmo::SampleMaker
{

// samples/sample.gif: made the way most animated GIFs on the web are made, one whole
// scene, then small patches at offsets that rely on what the frames before them left on
// the screen, so that WIC's raw frames are the patches and only the composed frames are
// the pictures a viewer shows.
PluginHost::GifToEncode SampleAnimation();

} // namespace Tesmo::SampleMaker
