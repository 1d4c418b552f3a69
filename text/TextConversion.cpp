#include "text/TextConversion.h"

#include <cctype>
#include <cstring>

namespace Tesmo::Plugin::Text
{

std::wstring ToWide(const char* narrow)
{
    std::wstring wide;
    wide.reserve(std::strlen(narrow));
    for (const char* byte = narrow; *byte != '\0'; ++byte)
    {
        wide.push_back(static_cast<wchar_t>(static_cast<signed char>(*byte)));
    }
    return wide;
}

std::string ToNarrow(const std::wstring& wide)
{
    std::string narrow;
    narrow.reserve(wide.size());
    for (const wchar_t unit : wide)
    {
        narrow.push_back(static_cast<char>(unit & 0xFF));
    }
    return narrow;
}

std::string ToLowerAscii(const std::string& narrow)
{
    std::string lowered;
    lowered.reserve(narrow.size());
    for (const char byte : narrow)
    {
        const int value = static_cast<signed char>(byte);
        // Negative values are outside tolower's domain; in the "C" locale they would
        // come back unchanged anyway, so they are not passed to it at all.
        lowered.push_back(value >= 0 ? static_cast<char>(std::tolower(value) & 0xFF) : byte);
    }
    return lowered;
}

} // namespace Tesmo::Plugin::Text
