// plugin-host: loads an image-format plug-in DLL by path and calls its exports the way a
// host application does, printing what comes back.

#include "Benchmark.h"
#include "PluginLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

using Tesmo::PluginHost::PluginLibrary;

namespace
{

void PrintUsage()
{
    std::fputs("usage: plugin-host COMMAND PLUGIN.dll [ARGUMENTS]\n"
               "  name                      print the display name\n"
               "  extensions                print the supported extensions\n"
               "  bench [decode]            measure the plug-in against bare WIC (decode: decoding only)\n",
               stderr);
}

int PrintDisplayName(const PluginLibrary& plugin)
{
    if (plugin.getDisplayName == nullptr)
    {
        std::fputs("the plug-in does not export GetDisplayName\n", stderr);
        return 1;
    }
    char name[256] = {};
    if (plugin.getDisplayName(name, sizeof name) != 0)
    {
        std::fputs("GetDisplayName failed\n", stderr);
        return 1;
    }
    std::printf("%s\n", name);
    return 0;
}

int PrintSupportedExtensions(const PluginLibrary& plugin)
{
    if (plugin.getSupportedExtensions == nullptr)
    {
        std::fputs("the plug-in does not export GetSupportedExtensions\n", stderr);
        return 1;
    }
    char* extensions = plugin.getSupportedExtensions();
    if (extensions == nullptr)
    {
        std::fputs("GetSupportedExtensions returned no list\n", stderr);
        return 1;
    }
    std::printf("%s\n", extensions);
    // The list is the host's now, released with the runtime's free as a host does.
    std::free(extensions);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        PrintUsage();
        return 2;
    }
    const std::wstring command = argv[1];
    try
    {
        if (command == L"bench")
        {
            return Tesmo::PluginHost::RunBenchmark(argv[2], argc > 3 && std::wstring(argv[3]) == L"decode");
        }
        if (command == L"memory-probe" && argc == 5)
        {
            return Tesmo::PluginHost::RunMemoryProbe(argv[2], argv[3], argv[4]);
        }
        const PluginLibrary plugin(argv[2]);
        if (command == L"name")
        {
            return PrintDisplayName(plugin);
        }
        if (command == L"extensions")
        {
            return PrintSupportedExtensions(plugin);
        }
        PrintUsage();
        return 2;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "plugin-host: %s\n", error.what());
        return 1;
    }
}
