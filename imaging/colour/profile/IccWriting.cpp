#include "imaging/colour/profile/IccWriting.h"

#include "imaging/colour/profile/IccNumbers.h"

#include <algorithm>
#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

constexpr std::size_t iccHeaderBytes = 128;

} // namespace

void AppendBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                               static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

std::uint32_t S15Fixed16Bits(double value)
{
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * 65536.0)));
}

std::vector<std::uint8_t> XyzTagBytes(const Xyz& xyz)
{
    std::vector<std::uint8_t> tag;
    AppendBigEndian32(tag, Signature("XYZ "));
    AppendBigEndian32(tag, 0);
    for (const double component : xyz)
    {
        AppendBigEndian32(tag, S15Fixed16Bits(component));
    }
    return tag;
}

std::vector<std::uint8_t> DisplayProfileBytes(std::uint32_t colourSpace, const Xyz& white,
                                              const std::vector<IccTag>& tags)
{
    std::vector<std::uint8_t> table;
    AppendBigEndian32(table, static_cast<std::uint32_t>(tags.size()));
    std::vector<std::uint8_t> contents;
    const std::size_t firstTag = iccHeaderBytes + 4 + 12 * tags.size();
    for (const IccTag& tag : tags)
    {
        AppendBigEndian32(table, tag.signature);
        AppendBigEndian32(table, static_cast<std::uint32_t>(firstTag + contents.size()));
        AppendBigEndian32(table, static_cast<std::uint32_t>(tag.bytes.size()));
        contents.insert(contents.end(), tag.bytes.begin(), tag.bytes.end());
        contents.resize((contents.size() + 3) / 4 * 4);
    }

    std::vector<std::uint8_t> profile;
    profile.reserve(firstTag + contents.size());
    AppendBigEndian32(profile, static_cast<std::uint32_t>(firstTag + contents.size()));
    AppendBigEndian32(profile, 0);          // no preferred engine
    AppendBigEndian32(profile, 0x02100000); // version 2.1
    AppendBigEndian32(profile, Signature("mntr"));
    AppendBigEndian32(profile, colourSpace);
    AppendBigEndian32(profile, Signature("XYZ "));
    profile.resize(36, 0); // no date
    AppendBigEndian32(profile, Signature("acsp"));
    profile.resize(68, 0); // no platform, flags, maker, model or attributes; perceptual intent
    for (const double component : white)
    {
        AppendBigEndian32(profile, S15Fixed16Bits(component));
    }
    profile.resize(iccHeaderBytes, 0);
    profile.insert(profile.end(), table.begin(), table.end());
    profile.insert(profile.end(), contents.begin(), contents.end());
    return profile;
}

} // namespace Tesmo::Plugin::Imaging
