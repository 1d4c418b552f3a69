// plugin-host: loads an image-format plug-in DLL by path and calls its exports the way a
// host application does, printing what comes back.

#include "Commands.h"
#include "hosting/PluginLibrary.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using namespace Tesmo::PluginHost;

namespace
{

void PrintUsage()
{
    std::fputs("usage: plugin-host COMMAND PLUGIN.dll [ARGUMENTS]\n"
               "  name                              print the display name\n"
               "  extensions                        print the supported extensions\n"
               "  decode IMAGE [FRAME|all] [OUT]    decode frame FRAME (default 0, or every frame) of\n"
               "                                    IMAGE, print the frame count and size, and write the\n"
               "                                    pixels to OUT (default frame.ppm; .png writes PNG;\n"
               "                                    with all: frame-0.ppm, frame-1.ppm ...)\n"
               "  sheet IMAGE [PLUGIN2.dll IMAGE2 ...] OUT.png\n"
               "                                    decode every frame of IMAGE, then of IMAGE2 through\n"
               "                                    PLUGIN2.dll and so on, and write them side by side,\n"
               "                                    numbered in that order, as one PNG contact sheet\n"
               "  show IMAGE [OUT]                  name, extensions, then decode every frame of IMAGE as\n"
               "                                    decode IMAGE all OUT does, and write the contact sheet\n"
               "                                    beside the frames as OUT's name + -sheet.png\n"
               "                                    (default frame-sheet.png)\n"
               "  formats                           every decoder WIC knows here, and whether the\n"
               "                                    extension list offers its extensions\n"
               "A failed decode prints the failing step, the plug-in's message and the outputs written.\n",
               stderr);
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
    const auto argument = [&](int index, const wchar_t* fallback) {
        return std::wstring(index < argc ? argv[index] : fallback);
    };
    try
    {
        // A sheet loads each of its plug-ins in turn, so it comes before the one load the
        // other commands share.
        if (command == L"sheet" && argc >= 5 && argc % 2 == 1)
        {
            std::vector<PluginAndImage> decodes;
            for (int pair = 2; pair + 1 < argc - 1; pair += 2)
            {
                decodes.push_back({argv[pair], argv[pair + 1]});
            }
            return DrawSheet(decodes, argv[argc - 1]);
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
        if (command == L"formats")
        {
            return PrintFormats(plugin);
        }
        if (command == L"decode" && argc >= 4)
        {
            return Decode(plugin, argv[3], argument(4, L"0"), argument(5, L"frame.ppm"), L"");
        }
        if (command == L"show" && argc >= 4)
        {
            std::printf("display name: ");
            const int named = PrintDisplayName(plugin);
            std::printf("extensions:   ");
            const int listed = PrintSupportedExtensions(plugin);
            const std::wstring output = argument(4, L"frame.ppm");
            const int decoded = Decode(plugin, argv[3], L"all", output, SheetBeside(output));
            return named | listed | decoded;
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
