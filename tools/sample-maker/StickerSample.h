#pragma once

#include "hosting/ApngEncoder.h"

namespace Tesmo::SampleMaker
{

// samples/sticker.png: an animated PNG made the way stickers are, its sky transparent: the
// scene, then a ball that flies over it and leaves no trace (blend over, dispose previous)
// until it stops, half-transparent at its edge. The default image, which a viewer that
// knows no animation shows, is the scene in grey and is not one of the frames.
PluginHost::ApngToEncode StickerSample();

} // namespace Tesmo::SampleMaker
