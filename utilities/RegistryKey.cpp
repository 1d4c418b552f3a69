#include "utilities/RegistryKey.h"

namespace Tesmo::Plugin::Utilities
{

RegistryKey::RegistryKey(HKEY root, const std::wstring& subKey, REGSAM access)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, access, &opened) == ERROR_SUCCESS)
    {
        key = opened;
    }
}

RegistryKey::~RegistryKey()
{
    if (key != nullptr)
    {
        RegCloseKey(key);
    }
}

} // namespace Tesmo::Plugin::Utilities
