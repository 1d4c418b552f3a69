#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// Every frame of an image side by side on one picture, each under its frame index, so that
// one look shows what a host gets for an animation: whether the frames are whole pictures
// or patches, and whether they follow one another.
//
// Layout: frames small enough to be hard to read are enlarged by the smallest whole
// factor that makes the tallest one at least 96 pixels high (at most 8). Every frame gets
// a cell as wide as the widest enlarged frame and as high as its number (14 pixels) plus
// 4 pixels plus the tallest enlarged frame; frames of different sizes sit at the top left
// of their cells. Up to 10 cells go in a row, with 8 pixels of background around and
// between them, so a sheet is 8 + columns x (cell width + 8) pixels wide and
// 8 + rows x (cell height + 8) high.
class ContactSheet
{
public:
    // Packed 24-bit RGB rows from top to bottom, as GetImageData hands a frame over.
    struct Rgb
    {
        unsigned int width = 0;
        unsigned int height = 0;
        std::string bytes; // width x height x 3
    };

    // A sheet's pixels never take more than this; frames that add up to more could not fit
    // on one, so adding them fails at once rather than after every frame has been held.
    static constexpr std::uint64_t largestBytes = std::uint64_t{256} << 20;

    // Takes the next frame; it is numbered by the order of adding, from 0. Throws
    // std::runtime_error when its bytes do not match its size, or when the sheet would
    // grow past largestBytes.
    void Add(Rgb frame);

    bool Empty() const { return frames.empty(); }

    // The sheet of the frames added so far (at least one).
    Rgb Draw() const;

private:
    std::vector<Rgb> frames;
    std::uint64_t bytesHeld = 0;
};

} // namespace Tesmo::PluginHost
