#pragma once

#include "imaging/colour/profile/ToneCurve.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

namespace Tesmo::Plugin::Imaging
{

// An XYZ colour as profiles store it (rXYZ, wtpt...), Y of white 1.
using Xyz = std::array<double, 3>;

// An embedded ICC profile, read for what converting a frame to sRGB needs: its class and
// colour spaces, its tags' places, and the matrix-and-curves tags. Every read stays
// within the bytes given, which are not copied: they must outlive the object.
class IccProfile
{
public:
    // The profile in bytes[0, size); nothing when they are no ICC profile: shorter than a
    // header and tag table, a declared size past the bytes, no 'acsp', or a tag that lies
    // outside the declared size.
    static std::optional<IccProfile> Read(const std::uint8_t* bytes, std::size_t size);
    virtual ~IccProfile() = default;

    std::uint32_t DeviceClass() const { return deviceClass; }
    std::uint32_t ColourSpace() const { return colourSpace; }
    std::uint32_t ConnectionSpace() const { return connectionSpace; }

    bool HasTag(std::uint32_t signature) const { return Find(signature).has_value(); }
    bool ReadXyz(std::uint32_t signature, Xyz& xyz) const;
    bool ReadCurve(std::uint32_t signature, ToneCurve& curve) const;
    // A tag's bytes, which lie within the profile; nothing when it has no such tag.
    std::optional<std::pair<const std::uint8_t*, std::size_t>> TagBytes(std::uint32_t signature) const;
    // Whether two tags share their bytes, as a profile's three equal curves often do.
    bool SameData(std::uint32_t first, std::uint32_t second) const;

private:
    struct Tag
    {
        std::uint32_t offset;
        std::uint32_t size;
    };

    explicit IccProfile(const std::uint8_t* bytes) : bytes(bytes) {}
    std::optional<Tag> Find(std::uint32_t signature) const;

    const std::uint8_t* bytes;
    std::uint32_t deviceClass = 0;
    std::uint32_t colourSpace = 0;
    std::uint32_t connectionSpace = 0;
    std::uint32_t tagCount = 0;
};

} // namespace Tesmo::Plugin::Imaging
