#pragma once

#include <cstddef>
#include <string>

namespace Tesmo::Benchmarks
{

struct AnimationImage
{
    std::wstring label;
    std::wstring path;
    unsigned int frameCount = 0;
    unsigned int width = 0; // the logical screen
    unsigned int height = 0;
    std::size_t fileBytes = 0;
};

struct Animations
{
    // 100 frames on a 256 x 256 screen, stored the way animated GIFs usually are: frame 0
    // a photo-like picture over the whole screen, every later frame only the rectangle
    // that changed (a sprite that moves, a bar that grows), over what is already there.
    AnimationImage delta;
    // 2,000 single pixels, each at a place of its own on a 64 x 64 screen: a long walk
    // back to a frame the plug-in can start drawing from, in a small file.
    AnimationImage tinyFrames;
};

// Writes both animations into folder, byte by byte, so that their rectangles, disposals
// and transparent indices are exactly as described; no frame after the first covers the
// screen.
Animations WriteAnimations(const std::wstring& folder);

} // namespace Tesmo::Benchmarks
