#pragma once

#include "imaging/animation/apng/ApngRecords.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// An animated PNG file's bytes and its frames' records, read from them.
struct ApngFile
{
    std::vector<std::uint8_t> bytes;
    ApngRecords records;

    unsigned int FrameCount() const { return static_cast<unsigned int>(records.frames.size()); }
};

// The animation in the PNG file at path, when the file is a valid animated PNG. The head
// of the file is read first, and a still PNG (no acTL before its image data) costs that
// small read alone; a file is read whole only when its head announces an animation. A
// file that cannot be read, or larger than the plug-in reads into memory (256 MB), is
// taken as WIC takes it.
std::optional<ApngFile> ReadApngFile(const wchar_t* path);

} // namespace Tesmo::Plugin::Imaging
