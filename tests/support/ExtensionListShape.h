#pragma once

#include <algorithm>
#include <string>

namespace Tesmo::Tests
{

// Empty when list is a well-formed extension list: no empty items, no upper-case
// letters, in ascending order with each item once. Otherwise what is wrong with it.
inline std::string ExtensionListFault(const char* list)
{
    if (list == nullptr)
    {
        return "no list";
    }
    // The module orders by UTF-16 unit after widening each byte as a signed char, so
    // bytes from 0x80 up sort after every ASCII byte, among themselves by value.
    const auto sortKey = [](const std::string& item) {
        std::u16string units;
        for (const char byte : item)
        {
            units.push_back(static_cast<char16_t>(static_cast<signed char>(byte)));
        }
        return units;
    };
    const std::string text = list;
    std::string previous;
    for (std::size_t start = 0, index = 0; !text.empty() && start <= text.size(); ++index)
    {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, end - start);
        start = end + 1;
        if (item.empty())
        {
            return "an empty item at " + std::to_string(index);
        }
        if (std::any_of(item.begin(), item.end(), [](char byte) { return byte >= 'A' && byte <= 'Z'; }))
        {
            return "an upper-case item: " + item;
        }
        if (index > 0 && !(sortKey(previous) < sortKey(item)))
        {
            return "out of order or repeated: " + previous + " then " + item;
        }
        previous = item;
    }
    return "";
}

} // namespace Tesmo::Tests
