#pragma once

#include <windows.h>

#include <string>

namespace Tesmo::PluginHost
{

// A plug-in DLL loaded by path the way a host loads it, with its exports resolved by
// their plain names. An export the DLL lacks stays null.
class PluginLibrary
{
public:
    using GetDisplayNameFunction = int(__cdecl*)(char* buffer, unsigned int bufferSize);
    using GetSupportedExtensionsFunction = char*(__cdecl*)();
    using GetImageDataFunction = int(__cdecl*)(const char* path, unsigned int frameIndex, unsigned int* frameCount,
                                               unsigned int* width, unsigned int* height, void** pixels,
                                               unsigned int* byteCount);

    // Throws std::runtime_error when the DLL cannot be loaded.
    explicit PluginLibrary(const std::wstring& path);
    virtual ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    HMODULE Module() const { return module; }

    GetDisplayNameFunction getDisplayName = nullptr;
    GetSupportedExtensionsFunction getSupportedExtensions = nullptr;
    GetImageDataFunction getImageData = nullptr;

private:
    HMODULE module = nullptr;
};

} // namespace Tesmo::PluginHost
