#include "imaging/colour/profile/TableCurves.h"

#include "imaging/colour/profile/IccNumbers.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Where the input curves start in each table type.
constexpr std::size_t lut8Curves = 48;
constexpr std::size_t lut16Curves = 52;
constexpr std::size_t lutAToBOffsets = 12; // B, matrix, M, grid, A: five offsets

// The bytes a curve element ('curv' or 'para') of an lutAToB table takes, padded to four;
// 0 when the bytes given cannot hold it.
std::size_t CurveElementBytes(const std::uint8_t* at, std::size_t available)
{
    constexpr std::size_t parameterCounts[] = {1, 3, 4, 5, 7};
    if (available < 12)
    {
        return 0;
    }
    std::uint64_t bytes = 0; // a count of 2^32 - 1 entries in 64 bits, whatever the build
    if (BigEndian32(at) == Signature("curv"))
    {
        bytes = 12 + 2 * std::uint64_t{BigEndian32(at + 8)};
    }
    else if (BigEndian32(at) == Signature("para") && BigEndian16(at + 8) <= 4)
    {
        bytes = 12 + 4 * parameterCounts[BigEndian16(at + 8)];
    }
    bytes = (bytes + 3) / 4 * 4;
    return bytes != 0 && bytes <= available ? static_cast<std::size_t>(bytes) : 0;
}

TableInput FromLut(const std::uint8_t* tag, std::size_t size, unsigned int inputs, bool lut16)
{
    const std::size_t start = lut16 ? lut16Curves : lut8Curves;
    if (size < start || tag[8] != inputs)
    {
        return {};
    }
    const std::uint32_t entries = lut16 ? BigEndian16(tag + 48) : 256;
    const unsigned int entryBytes = lut16 ? 2 : 1;
    if (entries < 2 || std::size_t{entries} * entryBytes * inputs > size - start)
    {
        return {};
    }
    TableInput table{std::vector<ToneCurve>(inputs), tag[10]};
    for (unsigned int input = 0; input < inputs; ++input)
    {
        table.curves[input].ReadEntries(tag + start + std::size_t{input} * entries * entryBytes, entries, entryBytes);
    }
    return table;
}

TableInput FromLutAToB(const std::uint8_t* tag, std::size_t size, unsigned int inputs)
{
    if (size < lutAToBOffsets + 20 || tag[8] != inputs)
    {
        return {};
    }
    const std::size_t grid = BigEndian32(tag + lutAToBOffsets + 12);
    std::size_t at = BigEndian32(tag + lutAToBOffsets + 16);
    if (grid == 0 || at == 0 || at > size || grid > size - inputs)
    {
        return {};
    }
    // The grid's points per input head it, one byte each.
    TableInput table{std::vector<ToneCurve>(inputs), tag[grid]};
    for (unsigned int input = 1; input < inputs; ++input)
    {
        table.gridPoints = tag[grid + input] == table.gridPoints ? table.gridPoints : 0;
    }
    for (unsigned int input = 0; input < inputs; ++input)
    {
        const std::size_t bytes = CurveElementBytes(tag + at, size - at);
        if (bytes == 0 || !table.curves[input].Read(tag + at, bytes))
        {
            return {};
        }
        at += bytes;
    }
    return table;
}

} // namespace

TableInput ReadTableInput(const IccProfile& profile, std::uint32_t signature, unsigned int inputs)
{
    const auto tag = profile.TagBytes(signature);
    if (!tag || tag->second < 12)
    {
        return {};
    }
    const std::uint32_t type = BigEndian32(tag->first);
    if (type == Signature("mft1") || type == Signature("mft2"))
    {
        return FromLut(tag->first, tag->second, inputs, type == Signature("mft2"));
    }
    return type == Signature("mAB ") ? FromLutAToB(tag->first, tag->second, inputs) : TableInput{};
}

} // namespace Tesmo::Plugin::Imaging
