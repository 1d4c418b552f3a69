#include "hosting/GifEncoder.h"

#include "hosting/LittleEndian.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

namespace Tesmo::PluginHost
{

namespace
{

// The exponent n of a table of 2^n entries (1 to 8) that holds count colours.
unsigned int TableBits(std::size_t count)
{
    unsigned int bits = 1;
    while ((std::size_t{1} << bits) < count && bits < 8)
    {
        ++bits;
    }
    return bits;
}

// The packed-field value of a table: its flag and size, or nothing for no table.
unsigned int TableField(const std::vector<GifColour>& colours)
{
    return colours.empty() ? 0 : 0x80 | (TableBits(colours.size()) - 1);
}

void PutTable(std::string& out, const std::vector<GifColour>& colours)
{
    if (colours.empty())
    {
        return;
    }
    const std::size_t entries = std::size_t{1} << TableBits(colours.size());
    for (std::size_t index = 0; index < entries; ++index)
    {
        const GifColour colour = index < colours.size() ? colours[index] : 0;
        out += {static_cast<char>(colour >> 16 & 0xFF), static_cast<char>(colour >> 8 & 0xFF),
                static_cast<char>(colour & 0xFF)};
    }
}

// Codes packed from the least significant bit up, as GIF's LZW stream has them.
class CodeWriter
{
public:
    void Put(unsigned int code, unsigned int width)
    {
        pending |= code << pendingBits;
        pendingBits += width;
        while (pendingBits >= 8)
        {
            bytes += static_cast<char>(pending & 0xFF);
            pending >>= 8;
            pendingBits -= 8;
        }
    }

    std::string Finish()
    {
        if (pendingBits > 0)
        {
            bytes += static_cast<char>(pending & 0xFF);
        }
        return bytes;
    }

private:
    std::string bytes;
    unsigned int pending = 0;
    unsigned int pendingBits = 0;
};

// Variable-width LZW as GIF's decoders expect it: the code width grows when the next
// free code no longer fits, and the table starts again with a clear code when it is full.
std::string Compress(const std::vector<unsigned char>& indices, unsigned int codeSize)
{
    const unsigned int clear = 1u << codeSize;
    const unsigned int end = clear + 1;
    CodeWriter writer;
    std::unordered_map<unsigned int, unsigned int> table; // prefix code << 8 | index -> code
    unsigned int width = codeSize + 1;
    unsigned int next = end + 1;
    writer.Put(clear, width);
    if (!indices.empty())
    {
        unsigned int prefix = indices.front();
        for (std::size_t at = 1; at < indices.size(); ++at)
        {
            const unsigned int key = prefix << 8 | indices[at];
            if (const auto found = table.find(key); found != table.end())
            {
                prefix = found->second;
                continue;
            }
            writer.Put(prefix, width);
            if (next < 4096)
            {
                if (next == 1u << width)
                {
                    ++width;
                }
                table.emplace(key, next++);
            }
            else
            {
                writer.Put(clear, width);
                table.clear();
                width = codeSize + 1;
                next = end + 1;
            }
            prefix = indices[at];
        }
        writer.Put(prefix, width);
    }
    writer.Put(end, width);
    return writer.Finish();
}

void PutSubBlocks(std::string& out, const std::string& data)
{
    for (std::size_t at = 0; at < data.size(); at += 255)
    {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        out += static_cast<char>(length);
        out.append(data, at, length);
    }
    out += '\0';
}

// Rows 0, 8, 16 ..., then 4, 12 ..., then 2, 6 ..., then the odd ones.
std::vector<unsigned char> InterlacedRows(const GifImage& image)
{
    std::vector<unsigned char> rows;
    for (const auto& [first, step] : {std::pair{0u, 8u}, {4u, 8u}, {2u, 4u}, {1u, 2u}})
    {
        for (unsigned int y = first; y < image.height; y += step)
        {
            const auto row = image.indices.begin() + static_cast<std::ptrdiff_t>(std::size_t{y} * image.width);
            rows.insert(rows.end(), row, row + image.width);
        }
    }
    return rows;
}

void PutImage(std::string& out, const GifImage& image, std::size_t globalEntries)
{
    if (image.indices.size() != std::size_t{image.width} * image.height)
    {
        throw std::invalid_argument("a GIF image needs width x height indices");
    }
    if (image.control)
    {
        const GifControl& control = *image.control;
        out += "\x21\xF9\x04";
        out += static_cast<char>((control.disposal & 7) << 2 | (control.transparent ? 1 : 0));
        Put16(out, control.delay);
        out += static_cast<char>(control.transparentIndex);
        out += '\0';
    }
    out += '\x2C';
    for (const unsigned int value : {image.left, image.top, image.width, image.height})
    {
        Put16(out, value);
    }
    out += static_cast<char>(TableField(image.localColours) | (image.interlaced ? 0x40 : 0));
    PutTable(out, image.localColours);

    // The code size holds every index of the table and of the image, 2 at the least.
    const std::size_t entries = image.localColours.empty() ? globalEntries : image.localColours.size();
    const unsigned int largest = image.indices.empty() ? 0 : *std::max_element(image.indices.begin(), image.indices.end());
    const unsigned int codeSize = std::max(2u, TableBits(std::max<std::size_t>(entries, largest + 1u)));
    out += static_cast<char>(codeSize);
    PutSubBlocks(out, Compress(image.interlaced ? InterlacedRows(image) : image.indices, codeSize));
}

} // namespace

std::string EncodeGif(const GifToEncode& gif)
{
    std::string out = "GIF89a";
    Put16(out, gif.width);
    Put16(out, gif.height);
    // Colour resolution 8 bits, unsorted.
    out += static_cast<char>(TableField(gif.globalColours) | 0x70);
    out += static_cast<char>(gif.backgroundIndex);
    out += '\0'; // no aspect ratio
    PutTable(out, gif.globalColours);
    if (gif.images.size() > 1)
    {
        out += std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    }
    for (const GifImage& image : gif.images)
    {
        PutImage(out, image, gif.globalColours.size());
    }
    out += '\x3B';
    return out;
}

} // namespace Tesmo::PluginHost
