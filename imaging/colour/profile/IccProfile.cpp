#include "imaging/colour/profile/IccProfile.h"

#include "imaging/colour/profile/IccNumbers.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

constexpr std::size_t headerBytes = 128;
constexpr std::size_t tagEntryBytes = 12;

} // namespace

std::optional<IccProfile> IccProfile::Read(const std::uint8_t* bytes, std::size_t size)
{
    if (bytes == nullptr || size < headerBytes + 4)
    {
        return std::nullopt;
    }
    const std::uint32_t declared = BigEndian32(bytes);
    if (declared < headerBytes + 4 || declared > size || BigEndian32(bytes + 36) != Signature("acsp"))
    {
        return std::nullopt;
    }
    IccProfile profile(bytes);
    profile.deviceClass = BigEndian32(bytes + 12);
    profile.colourSpace = BigEndian32(bytes + 16);
    profile.connectionSpace = BigEndian32(bytes + 20);
    profile.tagCount = BigEndian32(bytes + headerBytes);
    if (profile.tagCount > (declared - headerBytes - 4) / tagEntryBytes)
    {
        return std::nullopt;
    }
    for (std::uint32_t index = 0; index < profile.tagCount; ++index)
    {
        const std::uint8_t* const entry = bytes + headerBytes + 4 + index * tagEntryBytes;
        const std::uint32_t offset = BigEndian32(entry + 4);
        const std::uint32_t length = BigEndian32(entry + 8);
        if (offset > declared || length > declared - offset)
        {
            return std::nullopt;
        }
    }
    return profile;
}

std::optional<IccProfile::Tag> IccProfile::Find(std::uint32_t signature) const
{
    for (std::uint32_t index = 0; index < tagCount; ++index)
    {
        const std::uint8_t* const entry = bytes + headerBytes + 4 + index * tagEntryBytes;
        if (BigEndian32(entry) == signature)
        {
            return Tag{BigEndian32(entry + 4), BigEndian32(entry + 8)};
        }
    }
    return std::nullopt;
}

bool IccProfile::ReadXyz(std::uint32_t signature, Xyz& xyz) const
{
    const std::optional<Tag> tag = Find(signature);
    if (!tag || tag->size < 20 || BigEndian32(bytes + tag->offset) != Signature("XYZ "))
    {
        return false;
    }
    for (std::size_t component = 0; component < 3; ++component)
    {
        xyz[component] = S15Fixed16(bytes + tag->offset + 8 + 4 * component);
    }
    return true;
}

bool IccProfile::ReadCurve(std::uint32_t signature, ToneCurve& curve) const
{
    const std::optional<Tag> tag = Find(signature);
    return tag && curve.Read(bytes + tag->offset, tag->size);
}

std::optional<std::pair<const std::uint8_t*, std::size_t>> IccProfile::TagBytes(std::uint32_t signature) const
{
    const std::optional<Tag> tag = Find(signature);
    if (!tag)
    {
        return std::nullopt;
    }
    return std::pair<const std::uint8_t*, std::size_t>{bytes + tag->offset, tag->size};
}

bool IccProfile::SameData(std::uint32_t first, std::uint32_t second) const
{
    const std::optional<Tag> one = Find(first);
    const std::optional<Tag> other = Find(second);
    return one && other && one->offset == other->offset && one->size == other->size;
}

} // namespace Tesmo::Plugin::Imaging
