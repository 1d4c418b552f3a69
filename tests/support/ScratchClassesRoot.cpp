#include "support/ScratchClassesRoot.h"

#include "hosting/ThrowIfFailed.h"
#include "hosting/WicDecoders.h"

#include <atomic>
#include <string>

using Tesmo::PluginHost::ThrowIfFailed;

namespace Tesmo::Tests
{

ScratchClassesRoot::ScratchClassesRoot()
{
    static std::atomic<unsigned> counter{0};
    scratchPath = L"Software\\WicPluginTests-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
    ThrowIfFailed(HRESULT_FROM_WIN32(RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath.c_str(), 0, nullptr,
                                                     REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &scratchRoot,
                                                     nullptr)),
                  "creating the scratch key");
    const LSTATUS redirected = RegOverridePredefKey(HKEY_CLASSES_ROOT, scratchRoot);
    if (redirected != ERROR_SUCCESS)
    {
        RegCloseKey(scratchRoot);
        RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath.c_str());
        ThrowIfFailed(HRESULT_FROM_WIN32(redirected), "redirecting HKEY_CLASSES_ROOT");
    }
}

ScratchClassesRoot::~ScratchClassesRoot()
{
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(scratchRoot);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath.c_str());
}

void ScratchClassesRoot::CreateKey(const std::wstring& keyPath) const
{
    HKEY key = nullptr;
    ThrowIfFailed(HRESULT_FROM_WIN32(RegCreateKeyExW(scratchRoot, keyPath.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                                     KEY_ALL_ACCESS, nullptr, &key, nullptr)),
                  "creating a key");
    RegCloseKey(key);
}

void ScratchClassesRoot::SetValue(const std::wstring& keyPath, const std::wstring& valueName,
                                  const RegistryValue& value) const
{
    CreateKey(keyPath);
    ThrowIfFailed(HRESULT_FROM_WIN32(RegSetKeyValueW(scratchRoot, keyPath.c_str(), valueName.c_str(), value.type,
                                                     value.bytes.data(), static_cast<DWORD>(value.bytes.size()))),
                  "setting a value");
}

void ScratchClassesRoot::Register(const DecoderRegistration& decoder) const
{
    const std::wstring instancePath = std::wstring(PluginHost::decoderInstanceKeys) + L"\\" + decoder.instanceName;
    CreateKey(instancePath);
    if (decoder.friendlyName)
    {
        SetValue(instancePath, L"FriendlyName", *decoder.friendlyName);
    }
    if (decoder.clsid)
    {
        SetValue(instancePath, L"CLSID", *decoder.clsid);
    }
    if (decoder.classKeyPath)
    {
        CreateKey(*decoder.classKeyPath);
        if (decoder.fileExtensions)
        {
            SetValue(*decoder.classKeyPath, L"FileExtensions", *decoder.fileExtensions);
        }
    }
}

} // namespace Tesmo::Tests
