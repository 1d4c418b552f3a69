#include "support/ExtensionListShape.h"

#include <vector>

namespace Tesmo::Tests
{

std::string ExtensionListFault(const char* list)
{
    if (list == nullptr)
    {
        return "no list";
    }
    const std::string text = list;
    if (text.empty())
    {
        return "";
    }
    std::vector<std::string> items;
    std::string::size_type start = 0;
    while (true)
    {
        const std::string::size_type comma = text.find(',', start);
        items.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
        {
            break;
        }
        start = comma + 1;
    }
    // The module orders by UTF-16 unit after widening each byte as a signed char, so
    // bytes from 0x80 up sort after every ASCII byte, among themselves by value.
    const auto unitsOf = [](const std::string& item) {
        std::u16string units;
        for (const char byte : item)
        {
            units.push_back(static_cast<char16_t>(static_cast<signed char>(byte)));
        }
        return units;
    };
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (items[i].empty())
        {
            return "an empty item at " + std::to_string(i);
        }
        for (const char byte : items[i])
        {
            if (byte >= 'A' && byte <= 'Z')
            {
                return "an upper-case item: " + items[i];
            }
        }
        if (i > 0 && !(unitsOf(items[i - 1]) < unitsOf(items[i])))
        {
            return "out of order or repeated: " + items[i - 1] + " then " + items[i];
        }
    }
    return "";
}

} // namespace Tesmo::Tests
