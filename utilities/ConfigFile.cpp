#include "utilities/ConfigFile.h"

#include <windows.h>

#include <cctype>
#include <vector>

// The image base of the module this code is linked into: the plug-in DLL, not the host.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace Tesmo::Plugin::Utilities
{

namespace
{

constexpr DWORD modulePathUnits = MAX_PATH;
constexpr DWORD settingValueUnits = 4096;
constexpr unsigned int longestDisplayName = 31;
constexpr const wchar_t* defaultDisplayName = L"WIC Supported images";

HMODULE OwnModule()
{
    return reinterpret_cast<HMODULE>(&__ImageBase);
}

wchar_t LowerAsciiUnit(wchar_t unit)
{
    return unit < 0x80 ? static_cast<wchar_t>(std::tolower(unit)) : unit;
}

// The value of one hexadecimal digit in any letter case; -1 for any other unit.
int HexDigit(wchar_t unit)
{
    if (unit >= L'0' && unit <= L'9')
    {
        return unit - L'0';
    }
    const wchar_t lower = LowerAsciiUnit(unit);
    return lower >= L'a' && lower <= L'f' ? lower - L'a' + 10 : -1;
}

} // namespace

ConfigFile::ConfigFile()
{
    wchar_t modulePath[modulePathUnits] = {};
    if (GetModuleFileNameW(OwnModule(), modulePath, modulePathUnits) == 0)
    {
        return;
    }

    // The whole buffer is searched; the zero units after the path never match.
    const std::wstring buffer(modulePath, modulePathUnits);
    const std::wstring::size_type lastDot = buffer.rfind(L'.');
    iniPath = (lastDot == std::wstring::npos ? buffer : buffer.substr(0, lastDot)) + L".ini";
}

bool ConfigFile::ReadDisplayName(std::wstring& name) const
{
    if (iniPath.empty())
    {
        return false;
    }

    std::vector<wchar_t> value(settingValueUnits, L'\0');
    const DWORD length = GetPrivateProfileStringW(L"GUI", L"name", defaultDisplayName, value.data(),
                                                  settingValueUnits, iniPath.c_str());
    // A long name is refused rather than shortened, and an empty one is not replaced
    // by the default.
    if (length < 1 || length > longestDisplayName)
    {
        return false;
    }
    name.assign(value.data(), length);
    return true;
}

bool ConfigFile::IsExtensionExcluded(const std::wstring& extension) const
{
    return ValueIs(L"Extensions", extension.c_str(), L"excluded");
}

bool ConfigFile::AreGifFramesRaw() const
{
    return ValueIs(L"Frames", L"gif", L"raw");
}

bool ConfigFile::AreApngFramesRaw() const
{
    return ValueIs(L"Frames", L"apng", L"raw");
}

bool ConfigFile::IsOrientationRaw() const
{
    return ValueIs(L"Frames", L"orientation", L"raw");
}

bool ConfigFile::IsProfileRaw() const
{
    return ValueIs(L"Frames", L"profile", L"raw");
}

bool ConfigFile::IsTransparencyRaw() const
{
    return ValueIs(L"Frames", L"transparency", L"raw");
}

bool ConfigFile::IsHdrClipped() const
{
    return ValueIs(L"Frames", L"hdr", L"clip");
}

std::array<unsigned char, 3> ConfigFile::ReadBackground() const
{
    constexpr std::array<unsigned char, 3> white = {255, 255, 255};
    std::wstring value = Value(L"Frames", L"background");
    if (!value.empty() && value.front() == L'#')
    {
        value.erase(0, 1);
    }
    if (value.size() != 6)
    {
        return white;
    }
    std::array<unsigned char, 3> colour{};
    for (std::size_t digit = 0; digit < 6; ++digit)
    {
        const int nibble = HexDigit(value[digit]);
        if (nibble < 0)
        {
            return white;
        }
        colour[digit / 2] = static_cast<unsigned char>(colour[digit / 2] << 4 | nibble);
    }
    return colour;
}

std::wstring ConfigFile::Value(const wchar_t* section, const wchar_t* key) const
{
    if (iniPath.empty())
    {
        return {};
    }
    std::vector<wchar_t> value(settingValueUnits, L'\0');
    const DWORD length = GetPrivateProfileStringW(section, key, L"", value.data(), settingValueUnits, iniPath.c_str());
    return std::wstring(value.data(), length);
}

bool ConfigFile::ValueIs(const wchar_t* section, const wchar_t* key, const std::wstring& expected) const
{
    std::wstring lowered = Value(section, key);
    for (wchar_t& unit : lowered)
    {
        unit = LowerAsciiUnit(unit);
    }
    return lowered == expected;
}

} // namespace Tesmo::Plugin::Utilities
