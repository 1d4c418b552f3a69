#include "imaging/StripPlacement.h"

#include <cstdint>
#include <cstring>

namespace Tesmo::Plugin::Imaging
{

namespace
{

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
void PlaceRuns(const BYTE* strip, std::size_t rowBytes, UINT top, UINT rows, const Placement& placement,
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

} // namespace

void PlaceStrip(const BYTE* strip, UINT width, UINT height, UINT top, UINT rows, UINT orientation, BYTE* pixels)
{
    PlaceRuns(strip, std::size_t{width} * 3, top, rows, PlacementOf(orientation, width, height), SwapsSides(orientation),
              pixels);
}

} // namespace Tesmo::Plugin::Imaging
