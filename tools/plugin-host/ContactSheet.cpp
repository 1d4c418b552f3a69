#include "ContactSheet.h"

#include "DigitFont.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace Tesmo::PluginHost
{

namespace
{

constexpr unsigned int cellsPerRow = 10;
constexpr unsigned int gap = 8;
constexpr unsigned int readableHeight = 96;
constexpr unsigned int largestScale = 8;
// Digits at twice their bitmap's size, one bitmap column apart.
constexpr unsigned int digitScale = 2;
constexpr unsigned int numberHeight = digitHeight * digitScale;
constexpr unsigned int numberGap = 4;
// A grey that belongs to no frame's palette in particular, with the numbers in near black.
constexpr unsigned char background[3] = {0xC0, 0xC0, 0xC0};
constexpr unsigned char ink[3] = {0x20, 0x20, 0x20};

std::uint64_t NumberWidth(std::size_t number)
{
    const std::uint64_t digits = std::to_string(number).size();
    return digits * digitWidth * digitScale + (digits - 1) * digitScale;
}

struct Layout
{
    unsigned int scale = 1;
    std::uint64_t cellWidth = 0;
    std::uint64_t cellHeight = 0;
    std::uint64_t width = 0;
    std::uint64_t height = 0;
};

// From the frames' sizes alone, in 64 bits so that no size wraps before it is checked.
Layout LayOut(const std::vector<ContactSheet::Rgb>& frames)
{
    unsigned int widest = 0;
    unsigned int tallest = 1;
    for (const ContactSheet::Rgb& frame : frames)
    {
        widest = std::max(widest, frame.width);
        tallest = std::max(tallest, frame.height);
    }
    Layout layout;
    layout.scale = std::clamp((readableHeight + tallest - 1) / tallest, 1u, largestScale);
    layout.cellWidth = std::max(std::uint64_t{widest} * layout.scale, NumberWidth(frames.size() - 1));
    layout.cellHeight = numberHeight + numberGap + std::uint64_t{tallest} * layout.scale;
    const std::uint64_t columns = std::min<std::uint64_t>(frames.size(), cellsPerRow);
    const std::uint64_t rows = (frames.size() + cellsPerRow - 1) / cellsPerRow;
    layout.width = gap + columns * (layout.cellWidth + gap);
    layout.height = gap + rows * (layout.cellHeight + gap);
    if (layout.width > ContactSheet::largestBytes || layout.height > ContactSheet::largestBytes ||
        layout.width * layout.height * 3 > ContactSheet::largestBytes)
    {
        throw std::runtime_error("the contact sheet would take more than 256 MB");
    }
    return layout;
}

class Canvas
{
public:
    explicit Canvas(ContactSheet::Rgb& sheet) : sheet(sheet) {}

    unsigned char* At(std::uint64_t x, std::uint64_t y) const
    {
        return reinterpret_cast<unsigned char*>(sheet.bytes.data()) + (y * sheet.width + x) * 3;
    }

    void Fill(std::uint64_t x, std::uint64_t y, unsigned int size, const unsigned char (&colour)[3]) const
    {
        for (unsigned int row = 0; row < size; ++row)
        {
            for (unsigned int column = 0; column < size; ++column)
            {
                std::memcpy(At(x + column, y + row), colour, 3);
            }
        }
    }

    void DrawNumber(std::uint64_t left, std::uint64_t top, std::size_t number) const
    {
        const std::string digits = std::to_string(number);
        for (std::size_t place = 0; place < digits.size(); ++place)
        {
            const std::uint64_t digitLeft = left + place * (digitWidth + 1) * digitScale;
            for (unsigned int y = 0; y < digitHeight; ++y)
            {
                for (unsigned int x = 0; x < digitWidth; ++x)
                {
                    if (DigitPixel(static_cast<unsigned int>(digits[place] - '0'), x, y))
                    {
                        Fill(digitLeft + x * digitScale, top + y * digitScale, digitScale, ink);
                    }
                }
            }
        }
    }

    // Each frame pixel becomes a scale x scale block.
    void DrawEnlarged(std::uint64_t left, std::uint64_t top, const ContactSheet::Rgb& frame, unsigned int scale) const
    {
        for (unsigned int y = 0; y < frame.height; ++y)
        {
            const char* source = frame.bytes.data() + std::size_t{y} * frame.width * 3;
            for (unsigned int x = 0; x < frame.width; ++x, source += 3)
            {
                const unsigned char colour[3] = {static_cast<unsigned char>(source[0]),
                                                 static_cast<unsigned char>(source[1]),
                                                 static_cast<unsigned char>(source[2])};
                Fill(left + std::uint64_t{x} * scale, top + std::uint64_t{y} * scale, scale, colour);
            }
        }
    }

private:
    ContactSheet::Rgb& sheet;
};

} // namespace

void ContactSheet::Add(Rgb frame)
{
    const std::uint64_t bytes = std::uint64_t{frame.width} * frame.height * 3;
    if (frame.bytes.size() != bytes)
    {
        throw std::runtime_error("a frame's pixels do not match its size");
    }
    // Enlarged or not, each frame takes at least its own bytes on the sheet.
    if (bytesHeld + bytes > largestBytes)
    {
        throw std::runtime_error("the contact sheet would take more than 256 MB");
    }
    bytesHeld += bytes;
    frames.push_back(std::move(frame));
}

ContactSheet::Rgb ContactSheet::Draw() const
{
    if (frames.empty())
    {
        throw std::logic_error("a contact sheet needs a frame");
    }
    const Layout layout = LayOut(frames);
    Rgb sheet{static_cast<unsigned int>(layout.width), static_cast<unsigned int>(layout.height), {}};
    sheet.bytes.reserve(static_cast<std::size_t>(layout.width * layout.height * 3));
    for (std::uint64_t pixel = 0; pixel < layout.width * layout.height; ++pixel)
    {
        sheet.bytes.append(reinterpret_cast<const char*>(background), 3);
    }
    const Canvas canvas(sheet);
    for (std::size_t index = 0; index < frames.size(); ++index)
    {
        const std::uint64_t left = gap + index % cellsPerRow * (layout.cellWidth + gap);
        const std::uint64_t top = gap + index / cellsPerRow * (layout.cellHeight + gap);
        canvas.DrawNumber(left, top, index);
        canvas.DrawEnlarged(left, top + numberHeight + numberGap, frames[index], layout.scale);
    }
    return sheet;
}

} // namespace Tesmo::PluginHost
