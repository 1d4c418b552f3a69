#include "hosting/IccProfile.h"

#include "hosting/BigEndian.h"

#include <stdexcept>

namespace Tesmo::PluginHost
{

namespace
{

constexpr std::size_t iccHeaderSize = 128;
constexpr std::size_t iccTagEntrySize = 12;

std::uint32_t IccOffset(std::size_t offset)
{
    if (offset > 0xFFFFFFFFu)
    {
        throw std::length_error("an ICC profile holds at most 4 GB");
    }
    return static_cast<std::uint32_t>(offset);
}

void PadToFour(std::string& out)
{
    out.append((4 - out.size() % 4) % 4, '\0');
}

} // namespace

std::string EncodeIccProfile(const IccProfileToEncode& profile)
{
    // The tags' contents first, so that the table can give each one's place.
    std::string data;
    std::string table;
    BigEndian::Put32(table, IccOffset(profile.tags.size()));
    const std::size_t dataAt = iccHeaderSize + 4 + profile.tags.size() * iccTagEntrySize;
    for (const IccTag& tag : profile.tags)
    {
        BigEndian::Put32(table, tag.signature);
        BigEndian::Put32(table, IccOffset(dataAt + data.size()));
        BigEndian::Put32(table, IccOffset(tag.contents.size()));
        data += tag.contents;
        PadToFour(data);
    }

    std::string out;
    BigEndian::Put32(out, IccOffset(dataAt + data.size()));
    BigEndian::Put32(out, 0); // no preferred CMM
    BigEndian::Put32(out, static_cast<std::uint32_t>(profile.version));
    BigEndian::Put32(out, profile.deviceClass);
    BigEndian::Put32(out, profile.colourSpace);
    BigEndian::Put32(out, profile.connectionSpace);
    for (const unsigned int field : {2024u, 1u, 1u, 0u, 0u, 0u}) // created 2024-01-01 00:00:00
    {
        BigEndian::Put16(out, field);
    }
    BigEndian::Put32(out, IccSignature("acsp"));
    out.append(4 + 4 + 4 + 4 + 8, '\0'); // platform, flags, manufacturer, model, attributes
    BigEndian::Put32(out, 0);            // rendering intent: perceptual
    // D50 as every profile states it: 0.9642, 1.0, 0.8249 in s15Fixed16.
    for (const std::uint32_t fixed : {0x0000F6D6u, 0x00010000u, 0x0000D32Du})
    {
        BigEndian::Put32(out, fixed);
    }
    BigEndian::Put32(out, IccSignature("Tsmo"));
    out.append(16 + 28, '\0'); // profile ID not computed, reserved
    return out + table + data;
}

} // namespace Tesmo::PluginHost
