#include "support/ScratchClassesRoot.h"

#include "hosting/ThrowIfFailed.h"
#include "hosting/WicDecoders.h"

#include <atomic>
#include <memory>
#include <string>
#include <type_traits>

using Tesmo::PluginHost::ThrowIfWin32Failed;

namespace Tesmo::Tests
{

ScratchClassesRoot::ScratchClassesRoot()
{
    static std::atomic<unsigned> counter{0};
    scratchPath = L"Software\\WicPluginTests-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
    ThrowIfWin32Failed(RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                       KEY_ALL_ACCESS, nullptr, &scratchRoot, nullptr),
                       "creating the scratch key");
    const LSTATUS redirected = RegOverridePredefKey(HKEY_CLASSES_ROOT, scratchRoot);
    if (redirected != ERROR_SUCCESS)
    {
        RegCloseKey(scratchRoot);
        RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath.c_str());
        ThrowIfWin32Failed(redirected, "redirecting HKEY_CLASSES_ROOT");
    }
}

ScratchClassesRoot::~ScratchClassesRoot()
{
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    // A key a test gave subkeys of its own stays, and goes with the tree.
    for (auto key = registeredKeys.rbegin(); key != registeredKeys.rend(); ++key)
    {
        RegDeleteKeyW(scratchRoot, key->c_str());
    }
    RegCloseKey(scratchRoot);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath.c_str());
}

namespace
{

struct CloseKeyOnce
{
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using KeyOwner = std::unique_ptr<std::remove_pointer_t<HKEY>, CloseKeyOnce>;

void SetValue(HKEY key, const wchar_t* valueName, const RegistryValue& value)
{
    ThrowIfWin32Failed(RegSetValueExW(key, valueName, 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                                      static_cast<DWORD>(value.bytes.size())),
                       "setting a value");
}

} // namespace

// Volatile, like the scratch key itself: a volatile key can have only volatile subkeys.
HKEY ScratchClassesRoot::CreateKey(const std::wstring& keyPath) const
{
    HKEY key = nullptr;
    ThrowIfWin32Failed(RegCreateKeyExW(scratchRoot, keyPath.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                       nullptr, &key, nullptr),
                       "creating a key");
    return key;
}

// Each key opened once for all its values: a test registers thousands of decoders.
void ScratchClassesRoot::Register(const DecoderRegistration& decoder) const
{
    {
        registeredKeys.push_back(std::wstring(PluginHost::decoderInstanceKeys) + L"\\" + decoder.instanceName);
        const KeyOwner instance(CreateKey(registeredKeys.back()));
        if (decoder.friendlyName)
        {
            SetValue(instance.get(), L"FriendlyName", *decoder.friendlyName);
        }
        if (decoder.clsid)
        {
            SetValue(instance.get(), L"CLSID", *decoder.clsid);
        }
    }
    if (decoder.classKeyPath)
    {
        registeredKeys.push_back(*decoder.classKeyPath);
        const KeyOwner classKey(CreateKey(registeredKeys.back()));
        if (decoder.fileExtensions)
        {
            SetValue(classKey.get(), L"FileExtensions", *decoder.fileExtensions);
        }
    }
}

} // namespace Tesmo::Tests
