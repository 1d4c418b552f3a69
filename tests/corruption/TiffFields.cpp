#include "corruption/FormatFields.h"

namespace Tesmo::Tests::Corruption
{

void TiffFields(Fields& fields, const std::string& bytes)
{
    const bool big = bytes[0] == 'M';
    Add(fields, "", 0, big, {{"first page offset", 4, 4}});
    std::size_t page = Read(bytes, 4, 4, big);
    for (int index = 0; page != 0 && page < bytes.size() && index < 16; ++index)
    {
        const std::string prefix = "page " + std::to_string(index) + " ";
        const std::uint32_t count = Read(bytes, page, 2, big);
        Add(fields, prefix, page, big, {{"entry count", 0, 2}});
        for (std::size_t entry = page + 2; entry < page + 2 + 12 * count; entry += 12)
        {
            // A single SHORT sits in the first two bytes of the value slot.
            const bool oneShort = Read(bytes, entry + 2, 2, big) == 3 && Read(bytes, entry + 4, 4, big) == 1;
            Add(fields, prefix + "tag " + std::to_string(Read(bytes, entry, 2, big)) + " ", entry, big,
                {{"count", 4, 4}, {"value", 8, oneShort ? 2u : 4u}});
        }
        Add(fields, prefix, page + 2 + 12 * count, big, {{"next page offset", 0, 4}});
        page = Read(bytes, page + 2 + 12 * count, 4, big);
    }
}

} // namespace Tesmo::Tests::Corruption
