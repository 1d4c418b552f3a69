#pragma once

#include "hosting/ApngEncoder.h"
#include "hosting/GifEncoder.h"
#include "support/Pictures.h"

#include <optional>

namespace Tesmo::Tests
{

// GIF animations small enough that a test writes each frame's indices and the pictures it
// expects as literal rows.
//
// Indices are digits; the standard global table maps them to colour letters:
//   0 R (red)  1 G (green)  2 B (blue)  3 Y (yellow, the background)
// and the standard local table to
//   0 C (cyan)  1 M (magenta)  2 W (white)  3 K (black)
inline const std::vector<PluginHost::GifColour> standardGlobalColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
inline const std::vector<PluginHost::GifColour> standardLocalColours = {0x00FFFF, 0xFF00FF, 0xFFFFFF, 0x000000};

// An image block at (left, top), its rows of digit indices run together (width a row).
PluginHost::GifImage Patch(unsigned int left, unsigned int top, unsigned int width, const char* digits,
                           std::optional<PluginHost::GifControl> control = PluginHost::GifControl{});

// A screen with the standard global table, background index 3.
PluginHost::GifToEncode Animation(unsigned int width, unsigned int height, std::vector<PluginHost::GifImage> images);

// A picture of colour letters (the letters above), rows run together.
Picture Letters(unsigned int width, const char* rows);

// Animated PNGs of the same letters, 8-bit RGBA, where '.' is a pixel fully transparent
// (black under its alpha).
// A frame at (left, top) with its dispose_op (0 none, 1 background, 2 previous) and
// blend_op (0 source, 1 over).
PluginHost::ApngFrameToEncode LetterFrame(unsigned int left, unsigned int top, unsigned int width, const char* rows,
                                          unsigned char dispose = 0, unsigned char blend = 0);
// An animation on the default image's canvas, the default image frame 0 (frames[0] then
// only gives its dispose_op and blend_op) or hidden.
PluginHost::ApngToEncode LetterAnimation(unsigned int width, const char* defaultImage, bool defaultImageShown,
                                         std::vector<PluginHost::ApngFrameToEncode> frames);

// A delta-encoded animation on a 20 x 11 screen: a full first frame, then patches that are
// left, restored to the background and to the frame before, one with a transparent index
// and one with a local table.
PluginHost::GifToEncode PatchAnimation();

} // namespace Tesmo::Tests
