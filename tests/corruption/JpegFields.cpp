#include "corruption/FormatFields.h"

namespace Tesmo::Tests::Corruption
{

void JpegFields(Fields& fields, const std::string& bytes)
{
    for (std::size_t at = 2; at + 4 <= bytes.size() && bytes[at] == '\xFF'; at += 2 + Read(bytes, at + 2, 2, true))
    {
        const std::uint32_t marker = Read(bytes, at + 1, 1);
        Add(fields, "marker " + Hex(marker) + " ", at, true, {{"length", 2, 2}});
        if (marker >= 0xC0 && marker <= 0xC2)
        {
            Add(fields, "frame ", at, true,
                {{"precision", 4, 1}, {"height", 5, 2}, {"width", 7, 2}, {"components", 9, 1}});
            for (std::uint32_t component = 0; component < Read(bytes, at + 9, 1); ++component)
            {
                Add(fields, "component " + std::to_string(component) + " ", at + 3 * component, true,
                    {{"sampling", 11, 1}, {"table", 12, 1}});
            }
        }
        if (marker == 0xDA)
        {
            Add(fields, "scan ", at, true, {{"components", 4, 1}});
            break; // entropy-coded data follows
        }
    }
}

} // namespace Tesmo::Tests::Corruption
