#pragma once

#include <string>

namespace Tesmo::PluginHost
{

// A wide path in the system's ANSI code page, the form a host hands to the plug-in.
std::string AnsiPath(const std::wstring& path);

} // namespace Tesmo::PluginHost
