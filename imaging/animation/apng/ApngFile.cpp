#include "imaging/animation/apng/ApngFile.h"

#include "imaging/FileBytes.h"

#include <new>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Far more than any animation on a page, little enough for a 32-bit host's address space
// beside the canvas and the host's buffer.
constexpr std::uint64_t largestAnimationFile = 256u << 20;

std::optional<ApngFile> ReadAnimation(const wchar_t* path)
{
    const std::optional<PngHead> head = ReadPngHead(path, largestAnimationFile);
    if (!head || !AnnouncesAnimation(head->chunks))
    {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, largestAnimationFile);
    if (!bytes)
    {
        return std::nullopt;
    }
    std::optional<ApngRecords> records = ReadApngRecords(bytes->data(), bytes->size());
    if (!records)
    {
        return std::nullopt;
    }
    return ApngFile{std::move(*bytes), std::move(*records)};
}

} // namespace

std::optional<ApngFile> ReadApngFile(const wchar_t* path)
{
    try
    {
        return ReadAnimation(path);
    }
    catch (const std::bad_alloc&)
    {
        return std::nullopt; // read as WIC reads it
    }
}

} // namespace Tesmo::Plugin::Imaging
