#pragma once

#include <string>

namespace Tesmo::Plugin::Text
{

// Widens the bytes up to the first NUL one unit each, reading every byte as a signed
// char: 0x80-0xFF become U+FF80-U+FFFF. No code page is involved.
std::wstring ToWide(const char* narrow);

// Keeps the low byte of every UTF-16 unit over the whole length, zero units included.
std::string ToNarrow(const std::wstring& wide);

// Lowers A-Z through the runtime's tolower; every other byte passes unchanged.
std::string ToLowerAscii(const std::string& narrow);

} // namespace Tesmo::Plugin::Text
