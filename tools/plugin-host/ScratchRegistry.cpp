#include "ScratchRegistry.h"

#include <atomic>
#include <stdexcept>

namespace Tesmo::PluginHost
{

const wchar_t* const ScratchRegistry::decoderInstancesPath =
    L"CLSID\\{7ED96837-96F0-4812-B211-F13C24117ED3}\\Instance";

ScratchRegistry::ScratchRegistry()
{
    static std::atomic<unsigned> counter{0};
    rootPath = L"Software\\WicImagePluginScratch\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++counter);
    RegDeleteTreeW(HKEY_CURRENT_USER, rootPath.c_str());
    if (RegCreateKeyExW(HKEY_CURRENT_USER, rootPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                        nullptr) != ERROR_SUCCESS)
    {
        throw std::runtime_error("cannot create a scratch registry key");
    }
    if (RegOverridePredefKey(HKEY_CLASSES_ROOT, root) != ERROR_SUCCESS)
    {
        RegCloseKey(root);
        throw std::runtime_error("cannot redirect HKEY_CLASSES_ROOT");
    }
}

ScratchRegistry::~ScratchRegistry()
{
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(root);
    RegDeleteTreeW(HKEY_CURRENT_USER, rootPath.c_str());
}

void ScratchRegistry::CreateKey(const std::wstring& keyPath) const
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
    {
        throw std::runtime_error("cannot create a scratch registry key");
    }
    RegCloseKey(key);
}

void ScratchRegistry::SetValue(const std::wstring& keyPath, const std::wstring& valueName, DWORD type,
                               const void* data, DWORD byteCount) const
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
    {
        throw std::runtime_error("cannot create a scratch registry key");
    }
    const LONG result = RegSetValueExW(key, valueName.c_str(), 0, type, static_cast<const BYTE*>(data), byteCount);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
    {
        throw std::runtime_error("cannot write a scratch registry value");
    }
}

void ScratchRegistry::SetString(const std::wstring& keyPath, const std::wstring& valueName,
                                const std::wstring& text) const
{
    SetValue(keyPath, valueName, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void ScratchRegistry::AddDecoder(const std::wstring& instanceName, const std::wstring& friendlyName,
                                 const std::wstring& clsid, const std::wstring& fileExtensions) const
{
    const std::wstring instancePath = std::wstring(decoderInstancesPath) + L"\\" + instanceName;
    SetString(instancePath, L"FriendlyName", friendlyName);
    SetString(instancePath, L"CLSID", clsid);
    SetString(L"CLSID\\" + clsid, L"FileExtensions", fileExtensions);
}

} // namespace Tesmo::PluginHost
