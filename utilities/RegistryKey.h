#pragma once

#include <windows.h>

#include <string>

namespace Tesmo::Plugin::Utilities
{

// One registry key opened under a root and closed exactly once, when its owner goes,
// whichever way the owner's scope is left.
class RegistryKey
{
public:
    // Opens subKey of root with exactly the access asked for; IsOpen tells whether it
    // succeeded.
    RegistryKey(HKEY root, const std::wstring& subKey, REGSAM access);
    virtual ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return key != nullptr; }
    HKEY Handle() const { return key; }

private:
    HKEY key = nullptr;
};

} // namespace Tesmo::Plugin::Utilities
