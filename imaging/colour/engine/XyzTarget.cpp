#include "imaging/colour/engine/XyzTarget.h"

#include "imaging/colour/profile/IccNumbers.h"

#include <iterator>
#include <string>
#include <utility>

namespace Tesmo::Plugin::Imaging
{

namespace
{

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t Fixed(double value)
{
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value * 65536.0 + (value < 0 ? -0.5 : 0.5)));
}

std::vector<std::uint8_t> XyzTag(double x, double y, double z)
{
    std::vector<std::uint8_t> tag;
    Put32(tag, Signature("XYZ "));
    Put32(tag, 0);
    Put32(tag, Fixed(x));
    Put32(tag, Fixed(y));
    Put32(tag, Fixed(z));
    return tag;
}

// textDescriptionType, ASCII only.
std::vector<std::uint8_t> DescriptionTag(const std::string& text)
{
    std::vector<std::uint8_t> tag;
    Put32(tag, Signature("desc"));
    Put32(tag, 0);
    Put32(tag, static_cast<std::uint32_t>(text.size() + 1));
    tag.insert(tag.end(), text.begin(), text.end());
    tag.push_back(0);
    tag.resize(tag.size() + 4 + 4 + 2 + 1 + 67); // no Unicode or ScriptCode text
    return tag;
}

std::vector<std::uint8_t> TextTag(const std::string& text)
{
    std::vector<std::uint8_t> tag;
    Put32(tag, Signature("text"));
    Put32(tag, 0);
    tag.insert(tag.end(), text.begin(), text.end());
    tag.push_back(0);
    return tag;
}

} // namespace

std::vector<std::uint8_t> XyzTargetProfile()
{
    constexpr double d50[] = {0.9642, 1.0, 0.8249};
    std::vector<std::uint8_t> straight;
    Put32(straight, Signature("curv"));
    Put32(straight, 0);
    Put32(straight, 0); // no entries: the identity
    const std::pair<std::uint32_t, std::vector<std::uint8_t>> tags[] = {
        {Signature("desc"), DescriptionTag("XYZ (D50) as RGB")},
        {Signature("cprt"), TextTag("No copyright")},
        {Signature("wtpt"), XyzTag(d50[0], d50[1], d50[2])},
        {Signature("rXYZ"), XyzTag(1, 0, 0)},
        {Signature("gXYZ"), XyzTag(0, 1, 0)},
        {Signature("bXYZ"), XyzTag(0, 0, 1)},
        {Signature("rTRC"), straight},
        {Signature("gTRC"), straight},
        {Signature("bTRC"), straight},
    };
    constexpr std::size_t count = std::size(tags);

    std::vector<std::uint8_t> profile(128);
    Put32(profile, count);
    std::vector<std::uint8_t> contents;
    std::size_t at = 128 + 4 + 12 * count;
    for (const auto& [signature, tag] : tags)
    {
        Put32(profile, signature);
        Put32(profile, static_cast<std::uint32_t>(at + contents.size()));
        Put32(profile, static_cast<std::uint32_t>(tag.size()));
        contents.insert(contents.end(), tag.begin(), tag.end());
        contents.resize((contents.size() + 3) / 4 * 4);
    }
    profile.insert(profile.end(), contents.begin(), contents.end());

    std::vector<std::uint8_t> header;
    Put32(header, static_cast<std::uint32_t>(profile.size()));
    Put32(header, 0);          // no preferred engine
    Put32(header, 0x02100000); // version 2.1
    Put32(header, Signature("mntr"));
    Put32(header, Signature("RGB "));
    Put32(header, Signature("XYZ "));
    header.resize(36, 0); // no date
    Put32(header, Signature("acsp"));
    header.resize(68, 0); // no platform, flags, maker, model or attributes; perceptual intent
    for (const double component : d50)
    {
        Put32(header, Fixed(component));
    }
    std::copy(header.begin(), header.end(), profile.begin());
    return profile;
}

} // namespace Tesmo::Plugin::Imaging
