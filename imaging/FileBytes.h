#pragma once

#include "imaging/PngChunks.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The whole file at path, or nothing when it cannot be opened or read or holds more than
// limit bytes. The file is opened for reading only and shared with every other user.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const wchar_t* path, std::uint64_t limit);

// The head of a PNG file: its bytes up to the header of its first IDAT chunk, and the
// chunks before it.
struct PngHead
{
    std::vector<std::uint8_t> bytes;
    std::vector<PngChunk> chunks;
};

// Reads a small piece of the file and more only while the chunks before the image data
// run past it, never beyond limit bytes in all. Nothing when the file is no PNG, its head
// is damaged or longer than limit, or it cannot be read.
std::optional<PngHead> ReadPngHead(const wchar_t* path, std::uint64_t limit);

} // namespace Tesmo::Plugin::Imaging
