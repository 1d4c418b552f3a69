#pragma once

namespace Tesmo::PluginHost
{

// The ten digits as 5 x 7 bitmaps, enough to number the frames of a contact sheet without
// a font from the system (whose look would vary from machine to machine).
constexpr unsigned int digitWidth = 5;
constexpr unsigned int digitHeight = 7;

// Whether pixel (x, y) of digit's glyph is set; x from the left, y from the top.
bool DigitPixel(unsigned int digit, unsigned int x, unsigned int y);

} // namespace Tesmo::PluginHost
