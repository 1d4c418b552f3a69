#include "hosting/AnsiPath.h"

#include <windows.h>

namespace Tesmo::PluginHost
{

std::string AnsiPath(const std::wstring& path)
{
    const int bytes = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow.data(), bytes, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

} // namespace Tesmo::PluginHost
