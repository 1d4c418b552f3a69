#include "imaging/colour/engine/XyzTarget.h"

#include "imaging/colour/profile/IccNumbers.h"
#include "imaging/colour/profile/IccWriting.h"

#include <string>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// textDescriptionType, ASCII only.
std::vector<std::uint8_t> DescriptionTag(const std::string& text)
{
    std::vector<std::uint8_t> tag;
    AppendBigEndian32(tag, Signature("desc"));
    AppendBigEndian32(tag, 0);
    AppendBigEndian32(tag, static_cast<std::uint32_t>(text.size() + 1));
    tag.insert(tag.end(), text.begin(), text.end());
    tag.push_back(0);
    tag.resize(tag.size() + 4 + 4 + 2 + 1 + 67); // no Unicode or ScriptCode text
    return tag;
}

std::vector<std::uint8_t> TextTag(const std::string& text)
{
    std::vector<std::uint8_t> tag;
    AppendBigEndian32(tag, Signature("text"));
    AppendBigEndian32(tag, 0);
    tag.insert(tag.end(), text.begin(), text.end());
    tag.push_back(0);
    return tag;
}

} // namespace

std::vector<std::uint8_t> XyzTargetProfile()
{
    constexpr Xyz d50 = {0.9642, 1.0, 0.8249};
    std::vector<std::uint8_t> straight;
    AppendBigEndian32(straight, Signature("curv"));
    AppendBigEndian32(straight, 0);
    AppendBigEndian32(straight, 0); // no entries: the identity
    return DisplayProfileBytes(Signature("RGB "), d50,
                               {
                                   {Signature("desc"), DescriptionTag("XYZ (D50) as RGB")},
                                   {Signature("cprt"), TextTag("No copyright")},
                                   {Signature("wtpt"), XyzTagBytes(d50)},
                                   {Signature("rXYZ"), XyzTagBytes({1, 0, 0})},
                                   {Signature("gXYZ"), XyzTagBytes({0, 1, 0})},
                                   {Signature("bXYZ"), XyzTagBytes({0, 0, 1})},
                                   {Signature("rTRC"), straight},
                                   {Signature("gTRC"), straight},
                                   {Signature("bTRC"), straight},
                               });
}

} // namespace Tesmo::Plugin::Imaging
