#include "imaging/FileBytes.h"

#include <windows.h>

#include <algorithm>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Most PNG heads (IHDR, a few colour and text chunks) fit in the first read.
constexpr std::uint64_t firstHeadRead = 4096;

class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const wchar_t* path)
        : handle(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {
    }
    ~ReadOnlyFile()
    {
        if (handle != INVALID_HANDLE_VALUE)
        {
            CloseHandle(handle);
        }
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::optional<std::uint64_t> Size() const
    {
        LARGE_INTEGER size{};
        if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size) || size.QuadPart < 0)
        {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    // Appends the file's next count bytes to bytes; false unless all of them came.
    bool Append(std::vector<std::uint8_t>& bytes, std::size_t count) const
    {
        const std::size_t start = bytes.size();
        bytes.resize(start + count);
        std::size_t done = 0;
        while (done < count)
        {
            const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
            DWORD read = 0;
            if (!ReadFile(handle, bytes.data() + start + done, piece, &read, nullptr) || read == 0)
            {
                return false;
            }
            done += read;
        }
        return true;
    }

private:
    HANDLE handle;
};

} // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const wchar_t* path, std::uint64_t limit)
{
    const ReadOnlyFile file(path);
    const std::optional<std::uint64_t> size = file.Size();
    if (!size || *size > limit || *size > SIZE_MAX)
    {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    if (!file.Append(bytes, static_cast<std::size_t>(*size)))
    {
        return std::nullopt;
    }
    return bytes;
}

std::optional<PngHead> ReadPngHead(const wchar_t* path, std::uint64_t limit)
{
    const ReadOnlyFile file(path);
    const std::optional<std::uint64_t> size = file.Size();
    if (!size)
    {
        return std::nullopt;
    }
    const std::uint64_t available = std::min(*size, std::min<std::uint64_t>(limit, SIZE_MAX));
    PngHead head;
    std::uint64_t wanted = firstHeadRead;
    for (;;)
    {
        // Reads grow at least twofold, so a head of many small chunks takes few reads.
        const std::uint64_t target = std::min(available, std::max(wanted, std::uint64_t{head.bytes.size()} * 2));
        if (target <= head.bytes.size() ||
            !file.Append(head.bytes, static_cast<std::size_t>(target - head.bytes.size())))
        {
            return std::nullopt;
        }
        PngChunkReading reading = ReadPngChunks(head.bytes.data(), head.bytes.size(), PngChunkExtent::UpToImageData);
        if (reading.outcome == PngChunkReading::Outcome::Complete)
        {
            head.chunks = std::move(reading.chunks);
            return head;
        }
        if (reading.outcome == PngChunkReading::Outcome::Damaged)
        {
            return std::nullopt;
        }
        wanted = reading.bytesWanted;
    }
}

} // namespace Tesmo::Plugin::Imaging
