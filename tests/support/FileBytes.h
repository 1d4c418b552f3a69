#pragma once

#include <string>

namespace Tesmo::Tests
{

// Writes a file of exactly these bytes, replacing any file of that name.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The UTF-16LE bytes of text, without a byte-order mark or terminator.
std::string Utf16Bytes(const std::wstring& text);
// Writes UTF-16LE text with a byte-order mark, as the profile reader takes it.
void WriteUtf16File(const std::wstring& path, const std::wstring& text);

} // namespace Tesmo::Tests
