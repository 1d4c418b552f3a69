#pragma once

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

    // True only when the [Frames] value orientation is "raw" in any letter case: photos
    // then come as stored, not turned upright as their Orientation tag says.
    bool IsOrientationRaw() const;

private:
    // Whether the value of key in section, lowered, is exactly expected; false when the
    // file, section or key is missing or the value is empty.
    bool ValueIs(const wchar_t* section, const wchar_t* key, const std::wstring& expected) const;

    std::wstring iniPath;
};

} // namespace Tesmo::Plugin::Utilities
