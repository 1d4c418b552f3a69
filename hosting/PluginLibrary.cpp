#include "hosting/PluginLibrary.h"

#include <stdexcept>

namespace Tesmo::PluginHost
{

namespace
{

template <typename Function> Function Resolve(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

PluginLibrary::PluginLibrary(const std::wstring& path)
{
    module = LoadLibraryW(path.c_str());
    if (module == nullptr)
    {
        throw std::runtime_error("cannot load the plug-in (error " + std::to_string(GetLastError()) + ")");
    }
    getDisplayName = Resolve<GetDisplayNameFunction>(module, "GetDisplayName");
    getSupportedExtensions = Resolve<GetSupportedExtensionsFunction>(module, "GetSupportedExtensions");
    getImageData = Resolve<GetImageDataFunction>(module, "GetImageData");
}

PluginLibrary::~PluginLibrary()
{
    FreeLibrary(module);
}

} // namespace Tesmo::PluginHost
