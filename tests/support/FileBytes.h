#pragma once

#include <cstdint>
#include <string>

namespace Tesmo::Tests
{

// A whole file's bytes.
std::string ReadFileBytes(const std::wstring& path);
// A committed fixture's bytes (tests/fixtures/README.md), by its file name.
std::string FixtureBytes(const wchar_t* name);
// Writes a file of exactly these bytes, replacing any file of that name.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The UTF-16LE bytes of text, without a byte-order mark or terminator.
std::string Utf16Bytes(const std::wstring& text);
// Writes UTF-16LE text with a byte-order mark, as the profile reader takes it.
void WriteUtf16File(const std::wstring& path, const std::wstring& text);

// A file's last-access time, in the platform's 100-nanosecond ticks, and setting it: a
// time set before the file's last write shows whether anything reads it afterwards, on
// file systems that record reads.
std::uint64_t LastAccessTime(const std::wstring& path);
void SetLastAccessTime(const std::wstring& path, std::uint64_t ticks);

} // namespace Tesmo::Tests
