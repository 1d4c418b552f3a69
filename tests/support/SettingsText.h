#pragma once

#include <string>

namespace Tesmo::Tests
{

inline const std::string defaultDisplayName = "WIC Supported images";

// Settings files' text, as PluginCopy::WriteSettings takes it.
inline std::wstring NameSetting(const std::wstring& name)
{
    return L"[GUI]\r\nname=" + name + L"\r\n";
}
inline std::wstring ExtensionsSetting(const std::wstring& lines)
{
    return L"[Extensions]\r\n" + lines;
}

} // namespace Tesmo::Tests
