#include "imaging/PhotoOrientation.h"

#include "imaging/MetadataItems.h"

#include <wincodecsdk.h>

#include <wrl/client.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

constexpr GUID containerFormatJpeg = {0x19e4a5aa, 0x5662, 0x4fc5, {0xa0, 0xc0, 0x17, 0x58, 0x02, 0x8e, 0x10, 0x57}};
constexpr GUID containerFormatTiff = {0x163bcc30, 0xe2e9, 0x4f0b, {0x96, 0x1d, 0xa3, 0xe9, 0xfd, 0xb7, 0x88, 0xa3}};

// About this many bytes of stored rows are read at a time: few enough to stay in the
// processor's cache while they are placed, many enough that a decoder's per-call cost
// does not count.
constexpr std::size_t stripBytes = 256 * 1024;

// Where stored pixel (x, y) lands in the upright picture, in bytes from its start:
// origin + x * across + y * down. In 64 bits: a 32-bit host's buffer may pass 2 GB.
struct Placement
{
    std::int64_t origin;
    std::int64_t across;
    std::int64_t down;
};

Placement PlacementOf(UINT orientation, UINT width, UINT height)
{
    constexpr std::int64_t pixel = 3;
    const std::int64_t row = std::int64_t{SwapsSides(orientation) ? height : width} * pixel; // upright stride
    const std::int64_t lastColumn = std::int64_t{width} - 1;
    const std::int64_t lastRow = std::int64_t{height} - 1;
    switch (orientation)
    {
    case 2:
        return {lastColumn * pixel, -pixel, row};
    case 3:
        return {lastRow * row + lastColumn * pixel, -pixel, -row};
    case 4:
        return {lastRow * row, pixel, -row};
    case 5:
        return {0, row, pixel};
    case 6:
        return {lastRow * pixel, row, -pixel};
    case 7:
        return {lastColumn * row + lastRow * pixel, -row, -pixel};
    case 8:
        return {lastColumn * row, -row, pixel};
    default:
        return {0, pixel, row};
    }
}

// Places the rows stored rows in strip, each rowBytes long, the first of them stored row
// top. The strip is walked in runs of pixels that land next to each other in the host's
// buffer: along each stored row where the sides stay, down each stored column where they
// swap, so that the buffer is written in runs rather than one pixel a row apart. Each run
// is written from its lowest address up, four bytes a pixel, the fourth overwritten by
// the next pixel; the run's last pixel takes three, so nothing outside the run is touched.
// The strip holds one byte more than its rows, for the last pixel's fourth.
void PlaceStrip(const BYTE* strip, std::size_t rowBytes, UINT top, UINT rows, const Placement& placement,
                bool sidesSwap, BYTE* pixels)
{
    const auto width = static_cast<UINT>(rowBytes / 3);
    const UINT runs = sidesSwap ? width : rows;
    const UINT runLength = sidesSwap ? rows : width;
    const std::size_t nextRun = sidesSwap ? 3 : rowBytes;
    const std::size_t nextPixel = sidesSwap ? rowBytes : 3;
    const std::int64_t runStep = sidesSwap ? placement.across : placement.down;
    const bool backwards = (sidesSwap ? placement.down : placement.across) < 0;
    const std::int64_t runSpan = std::int64_t{runLength - 1} * 3;
    std::int64_t runAt = placement.origin + std::int64_t{top} * placement.down;
    for (UINT run = 0; run < runs; ++run, strip += nextRun, runAt += runStep)
    {
        BYTE* to = pixels + static_cast<std::size_t>(backwards ? runAt - runSpan : runAt);
        if (!backwards && nextPixel == 3)
        {
            std::memcpy(to, strip, rowBytes); // a row that only moves
            continue;
        }
        const BYTE* from = backwards ? strip + (runLength - 1) * nextPixel : strip;
        const std::ptrdiff_t step = backwards ? -static_cast<std::ptrdiff_t>(nextPixel) : nextPixel;
        for (UINT count = 1; count < runLength; ++count, from += step, to += 3)
        {
            std::memcpy(to, from, 4);
        }
        std::memcpy(to, from, 3);
    }
}

HRESULT CopyInStrips(IWICBitmapSource& source, UINT width, UINT height, UINT orientation, BYTE* pixels)
{
    const std::size_t rowBytes = std::size_t{width} * 3;
    const auto stripRows = static_cast<UINT>(std::clamp<std::size_t>(stripBytes / rowBytes, 1, height));
    const Placement placement = PlacementOf(orientation, width, height);
    std::vector<BYTE> strip(rowBytes * stripRows + 1);
    for (UINT top = 0; top < height; top += stripRows)
    {
        const UINT rows = std::min(stripRows, height - top);
        const WICRect part{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
        const HRESULT copied =
            source.CopyPixels(&part, static_cast<UINT>(rowBytes), static_cast<UINT>(rowBytes * rows), strip.data());
        if (copied != S_OK)
        {
            return copied;
        }
        PlaceStrip(strip.data(), rowBytes, top, rows, placement, SwapsSides(orientation), pixels);
    }
    return S_OK;
}

// Wine's block readers hand over a metadata block that failed to load (a TIFF directory
// cut short, say) as a null reader with S_OK, and its query readers then read through
// that null pointer and kill the process. A frame with such a block is read as having no
// tag. A block that fails with an error is passed on as an error, which the query reader
// reports; a codec without block readers answers its query reader on its own.
bool NoBlockIsNull(IWICBitmapFrameDecode& frame)
{
    ComPtr<IWICMetadataBlockReader> blocks;
    UINT count = 0;
    if (frame.QueryInterface(IID_PPV_ARGS(&blocks)) != S_OK || blocks->GetCount(&count) != S_OK)
    {
        return true;
    }
    for (UINT index = 0; index < count; ++index)
    {
        ComPtr<IWICMetadataReader> block;
        if (blocks->GetReaderByIndex(index, &block) == S_OK && block == nullptr)
        {
            return false;
        }
    }
    return true;
}

} // namespace

UINT ReadPhotoOrientation(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame)
{
    GUID container{};
    if (decoder.GetContainerFormat(&container) != S_OK)
    {
        return uprightOrientation;
    }
    const wchar_t* const query = container == containerFormatJpeg   ? L"/app1/ifd/{ushort=274}"
                                 : container == containerFormatTiff ? L"/ifd/{ushort=274}"
                                                                    : nullptr;
    ComPtr<IWICMetadataQueryReader> reader;
    UINT orientation = uprightOrientation;
    if (query == nullptr || !NoBlockIsNull(frame) || frame.GetMetadataQueryReader(&reader) != S_OK ||
        !ReadNumber(*reader.Get(), query, orientation) || orientation < 1 || orientation > 8)
    {
        return uprightOrientation;
    }
    return orientation;
}

HRESULT CopyOriented(IWICBitmapSource& source, UINT width, UINT height, UINT orientation, BYTE* pixels)
{
    if (width == 0 || height == 0)
    {
        return S_OK; // nothing to place
    }
    try
    {
        return CopyInStrips(source, width, height, orientation, pixels);
    }
    catch (const std::bad_alloc&)
    {
        // The strip; the buffer the host owns stays as it got.
        return E_OUTOFMEMORY;
    }
}

} // namespace Tesmo::Plugin::Imaging
