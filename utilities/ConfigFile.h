#pragma once

#include <array>
#include <string>

namespace Tesmo::Plugin::Utilities
{

// The optional settings file beside the module, named after it with ".ini" in place of
// its last extension. It is read afresh on every query and never written.
class ConfigFile
{
public:
    ConfigFile();
    virtual ~ConfigFile() = default;

    // The configured display name ("WIC Supported images" when none is set); false when
    // the value is empty or longer than 31 units, or the module path is unknown.
    bool ReadDisplayName(std::wstring& name) const;

    // True only when the [Extensions] value for the lower-case, dot-less extension is
    // "excluded" in any letter case.
    bool IsExtensionExcluded(const std::wstring& extension) const;

    // True only when the [Frames] value gif is "raw" in any letter case: GIF frames then
    // come as WIC hands them over, not composed.
    bool AreGifFramesRaw() const;

    // True only when the [Frames] value apng is "raw" in any letter case: animated PNGs
    // then come as WIC hands them over, their default image alone, not composed.
    bool AreApngFramesRaw() const;

    // True only when the [Frames] value orientation is "raw" in any letter case: photos
    // then come as stored, not turned upright as their Orientation tag says.
    bool IsOrientationRaw() const;

    // True only when the [Frames] value profile is "raw" in any letter case: frames with an
    // embedded colour profile then come with their stored numbers, not converted to sRGB.
    bool IsProfileRaw() const;

    // True only when the [Frames] value transparency is "raw" in any letter case: frames
    // with alpha then come with their stored colours, alpha dropped, not over a background.
    bool IsTransparencyRaw() const;

    // True only when the [Frames] value hdr is "clip" in any letter case: linear-light
    // (scRGB) frames brighter than SDR white then come clipped at it, not tone mapped.
    bool IsHdrClipped() const;

    // The [Frames] value background as R, G, B: six hex digits in any letter case, with
    // or without a leading '#'. White for any other value, as for none.
    std::array<unsigned char, 3> ReadBackground() const;

private:
    // The value of key in section; empty when the file, section or key is missing.
    std::wstring Value(const wchar_t* section, const wchar_t* key) const;

    // Whether the value of key in section, lowered, is exactly expected; false when the
    // file, section or key is missing or the value is empty.
    bool ValueIs(const wchar_t* section, const wchar_t* key, const std::wstring& expected) const;

    std::wstring iniPath;
};

} // namespace Tesmo::Plugin::Utilities
