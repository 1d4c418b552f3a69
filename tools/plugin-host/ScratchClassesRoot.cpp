#include "ScratchClassesRoot.h"

#include "ScratchFolder.h"
#include "utilities/Wic.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace Tesmo::PluginHost
{

namespace
{

std::wstring NextClassId()
{
    static std::atomic<unsigned> counter{0};
    wchar_t text[40] = {};
    std::swprintf(text, 40, L"{DEC0DE00-0000-4000-8000-%012u}", ++counter);
    return text;
}

void Check(LSTATUS status, const char* what)
{
    if (status != ERROR_SUCCESS)
    {
        throw std::runtime_error(std::string(what) + " failed with error " + std::to_string(status));
    }
}

} // namespace

RegistryValue TextValue(const std::wstring& text, DWORD type)
{
    return {type, Utf16Bytes(text + L'\0')};
}

DecoderRegistration CompleteDecoder(const std::wstring& instanceName, const std::wstring& fileExtensions)
{
    const std::wstring classId = NextClassId();
    return {instanceName, TextValue(instanceName + L" decoder"), TextValue(classId), L"CLSID\\" + classId,
            TextValue(fileExtensions)};
}

ScratchClassesRoot::ScratchClassesRoot()
{
    static std::atomic<unsigned> counter{0};
    scratchPath = L"Software\\WicPluginTests-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter);
    Check(RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &scratchRoot, nullptr),
          "creating the scratch key");
    const LSTATUS redirected = RegOverridePredefKey(HKEY_CLASSES_ROOT, scratchRoot);
    if (redirected != ERROR_SUCCESS)
    {
        RegCloseKey(scratchRoot);
        RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath.c_str());
        Check(redirected, "redirecting HKEY_CLASSES_ROOT");
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
    Check(RegCreateKeyExW(scratchRoot, keyPath.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr),
          "creating a key");
    RegCloseKey(key);
}

void ScratchClassesRoot::SetValue(const std::wstring& keyPath, const std::wstring& valueName,
                                  const RegistryValue& value) const
{
    CreateKey(keyPath);
    Check(RegSetKeyValueW(scratchRoot, keyPath.c_str(), valueName.c_str(), value.type, value.bytes.data(),
                          static_cast<DWORD>(value.bytes.size())),
          "setting a value");
}

void ScratchClassesRoot::Register(const DecoderRegistration& decoder) const
{
    const std::wstring instancePath = std::wstring(Plugin::Utilities::decoderInstanceList) + L"\\" + decoder.instanceName;
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

} // namespace Tesmo::PluginHost
