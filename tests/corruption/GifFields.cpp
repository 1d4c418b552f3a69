#include "corruption/FormatFields.h"

namespace Tesmo::Tests::Corruption
{

namespace
{

std::size_t GifColourTableSize(const std::string& bytes, std::size_t flagsAt)
{
    const std::uint32_t flags = Read(bytes, flagsAt, 1);
    return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0;
}

} // namespace

void GifFields(Fields& fields, const std::string& bytes)
{
    Add(fields, "screen ", 0, false, {{"width", 6, 2}, {"height", 8, 2}, {"flags", 10, 1}});
    int frame = 0;
    for (std::size_t at = 13 + GifColourTableSize(bytes, 10); at < bytes.size(); ++at)
    {
        if (bytes[at] == 0x2C)
        {
            const std::string prefix = "frame " + std::to_string(frame++) + " ";
            Add(fields, prefix, at, false,
                {{"left", 1, 2}, {"top", 3, 2}, {"width", 5, 2}, {"height", 7, 2}, {"flags", 9, 1}});
            at += 10 + GifColourTableSize(bytes, at + 9);
            Add(fields, prefix, at, false, {{"code size", 0, 1}, {"first block length", 1, 1}});
            at += 1;
        }
        else if (bytes[at] == 0x21)
        {
            Add(fields, "extension " + Hex(Read(bytes, at + 1, 1)) + " ", at, false, {{"block length", 2, 1}});
            at += 2;
        }
        else
        {
            break; // the trailer
        }
        while (at < bytes.size() && bytes[at] != 0)
        {
            at += 1 + Read(bytes, at, 1);
        }
    }
}

} // namespace Tesmo::Tests::Corruption
