#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// ICC profiles written byte by byte, so that a test controls every byte of the profile a
// file carries and knows what a colour engine must make of it. This file writes the frame
// every profile shares (header, tag table, tags on 4-byte boundaries); IccTagTypes.h
// writes the tags' contents and IccProfileBuilders.h whole profiles.

// A four-character signature as ICC stores it, first character most significant:
// IccSignature("mntr").
constexpr std::uint32_t IccSignature(const char (&four)[5])
{
    return std::uint32_t{static_cast<unsigned char>(four[0])} << 24 |
           std::uint32_t{static_cast<unsigned char>(four[1])} << 16 |
           std::uint32_t{static_cast<unsigned char>(four[2])} << 8 | static_cast<unsigned char>(four[3]);
}

enum class IccVersion : std::uint32_t
{
    V2_1 = 0x02100000, // what profiles default to: every engine reads it
    V4_3 = 0x04300000,
};

// One tag: its signature in the tag table and its contents, type signature first.
struct IccTag
{
    std::uint32_t signature = 0;
    std::string contents;
};

struct IccProfileToEncode
{
    std::uint32_t deviceClass = IccSignature("mntr");
    std::uint32_t colourSpace = IccSignature("RGB ");
    std::uint32_t connectionSpace = IccSignature("XYZ "); // 'XYZ ' or 'Lab '
    IccVersion version = IccVersion::V2_1;
    std::vector<IccTag> tags; // written in this order
};

// The profile's bytes: a 128-byte header (preferred CMM none, a fixed creation date so the
// bytes are the same on every run, 'acsp', perceptual intent, the D50 illuminant, creator
// 'Tsmo', profile ID zero), the tag table, then each tag's contents padded to 4 bytes.
std::string EncodeIccProfile(const IccProfileToEncode& profile);

} // namespace Tesmo::PluginHost
