#include "corruption/FormatFields.h"

#include <sstream>

namespace Tesmo::Tests::Corruption
{

std::uint32_t Read(const std::string& bytes, std::size_t at, unsigned int size, bool bigEndian)
{
    std::uint32_t value = 0;
    for (unsigned int i = 0; i < size && at + i < bytes.size(); ++i)
    {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << 8 * (bigEndian ? size - 1 - i : i);
    }
    return value;
}

void Write(std::string& bytes, std::size_t at, unsigned int size, bool bigEndian, std::uint32_t value)
{
    for (unsigned int i = 0; i < size && at + i < bytes.size(); ++i)
    {
        bytes[at + i] = static_cast<char>(value >> 8 * (bigEndian ? size - 1 - i : i));
    }
}

std::string Hex(std::uint32_t value)
{
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << value;
    return text.str();
}

void Add(Fields& fields, const std::string& prefix, std::size_t base, bool bigEndian,
         std::initializer_list<FieldAt> table)
{
    for (const FieldAt& field : table)
    {
        fields.push_back({prefix + field.name, base + field.offset, field.size, bigEndian});
    }
}

} // namespace Tesmo::Tests::Corruption
