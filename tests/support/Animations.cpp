#include "support/Animations.h"

#include <cstring>
#include <stdexcept>

using Tesmo::PluginHost::ApngFrameToEncode;
using Tesmo::PluginHost::ApngToEncode;
using Tesmo::PluginHost::GifControl;
using Tesmo::PluginHost::GifImage;
using Tesmo::PluginHost::GifToEncode;
using Tesmo::PluginHost::PngColourType;
using Tesmo::PluginHost::PngImage;

namespace Tesmo::Tests
{

GifImage Patch(unsigned int left, unsigned int top, unsigned int width, const char* digits,
               std::optional<GifControl> control)
{
    const std::size_t count = std::strlen(digits);
    GifImage image{left, top, width, static_cast<unsigned int>(count / width), {}, control, {}, false};
    for (std::size_t at = 0; at < count; ++at)
    {
        image.indices.push_back(static_cast<unsigned char>(digits[at] - '0'));
    }
    return image;
}

GifToEncode Animation(unsigned int width, unsigned int height, std::vector<GifImage> images)
{
    return GifToEncode{width, height, standardGlobalColours, 3, std::move(images)};
}

namespace
{

Rgba LetterColour(char letter)
{
    static const std::string letters = "RGBYCMWK.";
    static const Rgba colours[] = {{255, 0, 0},     {0, 255, 0}, {0, 0, 255},
                                   {255, 255, 0},   {0, 255, 255}, {255, 0, 255},
                                   {255, 255, 255}, {0, 0, 0},     {0, 0, 0, 0}};
    const std::size_t colour = letters.find(letter);
    if (colour == std::string::npos)
    {
        throw std::invalid_argument("not a colour letter");
    }
    return colours[colour];
}

PngImage LetterImage(unsigned int width, const char* rows)
{
    const Picture picture = Letters(width, rows);
    PngImage image{picture.width, picture.height, PngColourType::Rgba};
    for (const Rgba& pixel : picture.pixels)
    {
        image.samples += {static_cast<char>(pixel.r), static_cast<char>(pixel.g), static_cast<char>(pixel.b),
                          static_cast<char>(pixel.a)};
    }
    return image;
}

} // namespace

Picture Letters(unsigned int width, const char* rows)
{
    const std::size_t count = std::strlen(rows);
    Picture picture{width, static_cast<unsigned int>(count / width), {}};
    for (std::size_t at = 0; at < count; ++at)
    {
        picture.pixels.push_back(LetterColour(rows[at]));
    }
    return picture;
}

ApngFrameToEncode LetterFrame(unsigned int left, unsigned int top, unsigned int width, const char* rows,
                              unsigned char dispose, unsigned char blend)
{
    return {left, top, LetterImage(width, rows), dispose, blend};
}

ApngToEncode LetterAnimation(unsigned int width, const char* defaultImage, bool defaultImageShown,
                             std::vector<ApngFrameToEncode> frames)
{
    return {LetterImage(width, defaultImage), defaultImageShown, std::move(frames)};
}

GifToEncode PatchAnimation()
{
    const auto block = [](unsigned int left, unsigned int top, unsigned int width, unsigned int height,
                          unsigned int disposal, unsigned int seed) {
        const IndexedPicture indices = PatternIndexed(width, height, 4, seed);
        return GifImage{left, top, width, height, indices.indices, GifControl{disposal, seed % 2 == 0, 1, 10}, {},
                        false};
    };
    GifToEncode gif = Animation(20, 11, {block(0, 0, 20, 11, 1, 1), block(3, 2, 6, 5, 2, 2), block(10, 4, 7, 6, 3, 3),
                                         block(15, 8, 8, 5, 1, 4), block(1, 1, 9, 4, 0, 5)});
    gif.images[4].localColours = standardLocalColours;
    return gif;
}

} // namespace Tesmo::Tests
