#include "AnimationImages.h"

#include "hosting/GifEncoder.h"
#include "support/FileBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace Tesmo::Benchmarks
{

namespace
{

using PluginHost::GifColour;
using PluginHost::GifControl;
using PluginHost::GifImage;
using PluginHost::GifToEncode;

constexpr unsigned int deltaFrames = 100;
constexpr unsigned int deltaSide = 256;
constexpr unsigned int tinyFrames = 2000;
constexpr unsigned int tinySide = 64;

// A 6 x 7 x 6 colour cube in indices 0 to 251, so that a picture quantised to it still
// looks photographic; index 255 stays out of every picture for the transparent frames.
constexpr unsigned int redLevels = 6, greenLevels = 7, blueLevels = 6;
constexpr unsigned char transparentIndex = 255;

std::vector<GifColour> CubePalette()
{
    std::vector<GifColour> colours(256, 0xFF00FF);
    for (unsigned int r = 0; r < redLevels; ++r)
    {
        for (unsigned int g = 0; g < greenLevels; ++g)
        {
            for (unsigned int b = 0; b < blueLevels; ++b)
            {
                colours[(r * greenLevels + g) * blueLevels + b] = (r * 255 / (redLevels - 1)) << 16 |
                                                                  (g * 255 / (greenLevels - 1)) << 8 |
                                                                  b * 255 / (blueLevels - 1);
            }
        }
    }
    return colours;
}

unsigned char Quantise(int red, int green, int blue)
{
    const auto level = [](int value, unsigned int levels) {
        const int clamped = std::clamp(value, 0, 255);
        return static_cast<unsigned int>((clamped * static_cast<int>(levels - 1) + 127) / 255);
    };
    return static_cast<unsigned char>(
        (level(red, redLevels) * greenLevels + level(green, greenLevels)) * blueLevels + level(blue, blueLevels));
}

// Indices of the screen, one per pixel, rows from top to bottom.
using Canvas = std::vector<unsigned char>;

// Gradients, two soft blobs and a little noise: compresses like a photograph.
Canvas PhotoLikeCanvas()
{
    Canvas canvas(deltaSide * deltaSide);
    std::uint32_t noise = 2024;
    for (unsigned int y = 0; y < deltaSide; ++y)
    {
        for (unsigned int x = 0; x < deltaSide; ++x)
        {
            noise = noise * 1664525u + 1013904223u;
            const int jitter = static_cast<int>(noise >> 27) - 16;
            const double sun = std::exp(-(std::pow(x - 70.0, 2) + std::pow(y - 60.0, 2)) / 1800.0);
            const double shade = std::exp(-(std::pow(x - 190.0, 2) + std::pow(y - 170.0, 2)) / 3000.0);
            const int red = static_cast<int>(x * 0.6 + 200 * sun - 60 * shade) + jitter;
            const int green = static_cast<int>(y * 0.7 + 150 * sun - 40 * shade) + jitter;
            const int blue = static_cast<int>(200 - y * 0.5 + 90 * shade) + jitter;
            canvas[y * deltaSide + x] = Quantise(red, green, blue);
        }
    }
    return canvas;
}

// Frame k's picture: the photograph with a bar along the bottom that has grown by 8
// pixels every fourth frame, and a shaded ball on a looping path.
Canvas DeltaCanvas(const Canvas& photo, unsigned int frame)
{
    Canvas canvas = photo;
    const unsigned int barEnd = 8 + frame / 4 * 8;
    for (unsigned int y = 236; y < 248; ++y)
    {
        for (unsigned int x = 8; x < barEnd; ++x)
        {
            canvas[y * deltaSide + x] = Quantise(40, 200 + static_cast<int>(y - 236) * 4, 60);
        }
    }
    constexpr double pi = 3.14159265358979;
    const double centreX = 128 + 100 * std::sin(2 * pi * frame / 60);
    const double centreY = 128 + 80 * std::sin(2 * pi * frame / 45 + 1);
    constexpr double radius = 14;
    for (int y = static_cast<int>(centreY - radius); y <= static_cast<int>(centreY + radius); ++y)
    {
        for (int x = static_cast<int>(centreX - radius); x <= static_cast<int>(centreX + radius); ++x)
        {
            const double distance = std::hypot(x - centreX, y - centreY);
            if (distance <= radius)
            {
                const int light = static_cast<int>(255 - distance * 10);
                canvas[y * deltaSide + x] = Quantise(light, light / 2, 30);
            }
        }
    }
    return canvas;
}

// The rectangle of pixels that differ between two pictures, cut out of the later one.
// With transparency, the unchanged pixels inside it become the transparent index, as
// GIF optimisers store them.
GifImage ChangedRectangle(const Canvas& before, const Canvas& after, bool transparent)
{
    unsigned int left = deltaSide, top = deltaSide, right = 0, bottom = 0;
    for (unsigned int y = 0; y < deltaSide; ++y)
    {
        for (unsigned int x = 0; x < deltaSide; ++x)
        {
            if (before[y * deltaSide + x] != after[y * deltaSide + x])
            {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    if (left >= right) // nothing changed: a single pixel keeps the frame's place
    {
        left = top = 0;
        right = bottom = 1;
    }
    GifImage image;
    image.left = left;
    image.top = top;
    image.width = right - left;
    image.height = bottom - top;
    for (unsigned int y = top; y < bottom; ++y)
    {
        for (unsigned int x = left; x < right; ++x)
        {
            const unsigned char index = after[y * deltaSide + x];
            image.indices.push_back(transparent && index == before[y * deltaSide + x] ? transparentIndex : index);
        }
    }
    return image;
}

GifToEncode DeltaAnimation()
{
    GifToEncode gif;
    gif.width = gif.height = deltaSide;
    gif.globalColours = CubePalette();
    const Canvas photo = PhotoLikeCanvas();
    Canvas shown = DeltaCanvas(photo, 0);
    GifImage first;
    first.width = first.height = deltaSide;
    first.indices = shown;
    first.control = GifControl{1};
    gif.images.push_back(first);
    for (unsigned int frame = 1; frame < deltaFrames; ++frame)
    {
        Canvas next = DeltaCanvas(photo, frame);
        // Two frames in three leave their unchanged pixels transparent; one in ten says
        // nothing about its disposal (0), which leaves it in place like disposal 1.
        GifImage image = ChangedRectangle(shown, next, frame % 3 != 0);
        image.control = GifControl{frame % 10 == 0 ? 0u : 1u, frame % 3 != 0, transparentIndex};
        if (image.left == 0 && image.top == 0 && image.width >= deltaSide && image.height >= deltaSide)
        {
            throw std::logic_error("a later frame of the delta animation covers the screen");
        }
        gif.images.push_back(std::move(image));
        shown = std::move(next);
    }
    return gif;
}

// Single pixels scattered over the screen: 37 and 4096 share no factor, so the first
// 2,000 multiples of 37 fall on 2,000 different places.
GifToEncode TinyFrameAnimation()
{
    GifToEncode gif;
    gif.width = gif.height = tinySide;
    gif.globalColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    for (unsigned int frame = 0; frame < tinyFrames; ++frame)
    {
        const unsigned int place = frame * 37 % (tinySide * tinySide);
        GifImage image;
        image.left = place % tinySide;
        image.top = place / tinySide;
        image.width = image.height = 1;
        image.indices = {static_cast<unsigned char>(1 + frame % 3)};
        image.control = GifControl{1};
        gif.images.push_back(std::move(image));
    }
    return gif;
}

} // namespace

Animations WriteAnimations(const std::wstring& folder)
{
    const auto write = [&](const wchar_t* label, const wchar_t* fileName, const GifToEncode& gif) {
        const std::string bytes = PluginHost::EncodeGif(gif);
        AnimationImage image{label, folder + L"\\" + fileName, static_cast<unsigned int>(gif.images.size()),
                             gif.width, gif.height, bytes.size()};
        Tests::WriteFileBytes(image.path, bytes);
        return image;
    };
    return {write(L"100-frame delta GIF", L"animation-delta.gif", DeltaAnimation()),
            write(L"2,000 one-pixel frames", L"animation-tiny-frames.gif", TinyFrameAnimation())};
}

} // namespace Tesmo::Benchmarks
