#pragma once

#include "hosting/WicEncoder.h"
#include "support/Pictures.h"

namespace Tesmo::Tests
{

// Test pictures as frames for WIC's encoders (host/WicEncoder.h): the pixel format and
// the pixels as the encoder takes them.
PluginHost::FrameToEncode AsBgr24(const Picture& picture);
PluginHost::FrameToEncode AsBgra32(const Picture& picture);
PluginHost::FrameToEncode AsGray8(const Picture& picture); // takes the red channel
PluginHost::FrameToEncode AsRgb48(const Picture& picture); // each 8-bit value v as the 16-bit v * 257
PluginHost::FrameToEncode AsIndexed8(const IndexedPicture& picture);

} // namespace Tesmo::Tests
