// The host tool run as a user runs it, as a process of its own: `formats` marks every
// decoder's extensions offered, a decode whose WIC factory cannot be made names that step,
// the extension list without WIC is the registry's alone, and `sheet` lays every frame out
// in cells of the documented size. Of the eight failing steps, reading the frame count
// cannot be made to fail for real with any file (WIC's decoders fail such a file when it
// is opened), so it is not tested here rather than faked.

#include "hosting/GifEncoder.h"
#include "hosting/ImageDataCall.h"
#include "support/FailureMessages.h"
#include "support/HostToolRun.h"
#include "support/PlatformProbes.h"
#include "support/PluginCopy.h"

#include <gtest/gtest.h>

#include <string>

using namespace Tesmo::Tests;
using Tesmo::PluginHost::AnsiPath, Tesmo::PluginHost::EncodeGif, Tesmo::PluginHost::GifImage;
using Tesmo::PluginHost::GifToEncode, Tesmo::PluginHost::ImageDataCall;

namespace
{

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// WIC's enumerator reports every decoder the tool lists, so nothing is left out but what
// the settings file excludes, and each decoder says which source the list took it from.
TEST(HostToolFormats, MarksEveryDecoderOffered)
{
    PluginCopy plugin;

    const ChildRun run = RunHostTool({L"formats", plugin.ModulePath()});

    ASSERT_EQ(run.exitCode, 0u) << run.output;
    for (const char* extension : {"bmp", "gif", "jpeg", "jpg", "png", "tif", "tiff"})
    {
        EXPECT_NE(run.output.find("\n  " + std::string(extension) + ": offered\n"), std::string::npos)
            << extension << " in\n" << run.output;
    }
    EXPECT_NE(run.output.find("\n  WIC decodes, the list leaves out: (none)\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\n  source:     "), std::string::npos) << run.output;
}

// With windowscodecs switched off (WINEDLLOVERRIDES=windowscodecs=d, here through Wine's
// per-program overrides, see RunHostTool) Wine cannot load its imaging component, so
// CoCreateInstance of the factory fails, the first step, before any output is written.
TEST(HostToolDecode, NamesTheFactoryStepWhenWicCannotLoadUnderWine)
{
    if (!RunningUnderWine())
    {
        GTEST_SKIP() << "switching off a system DLL for one program is Wine's";
    }
    PluginCopy plugin;
    const std::wstring image = plugin.Folder().Write(L"picture.bmp", "BM");

    const ChildRun run = RunHostTool({L"decode", plugin.ModulePath(), image}, {L"windowscodecs"});

    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.output.find("failing step:    creating the WIC imaging factory\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("plug-in message: " + Narrow(factoryFailed) + "\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("outputs written: none\n"), std::string::npos) << run.output;
}

// Without WIC the catalogue's second source fails silently: the list is the registry
// walk's alone, under Wine the built-in seven.
TEST(HostToolExtensions, ListsTheRegistryWalkAloneWhenWicCannotLoadUnderWine)
{
    if (!RunningUnderWine())
    {
        GTEST_SKIP() << "switching off a system DLL for one program is Wine's";
    }
    PluginCopy plugin;

    const ChildRun run = RunHostTool({L"extensions", plugin.ModulePath()}, {L"windowscodecs"});

    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.output, "bmp,gif,jpeg,jpg,png,tif,tiff\n");
}

// `sheet` puts every frame in a cell, ten to a row, 8 pixels apart, enlarged by the
// smallest factor (at most 8) that makes the tallest at least 96 pixels high: a cell is the
// enlarged frame (at least as wide as its number) with 18 pixels for the number above it.
TEST(HostToolSheet, LaysOutEveryFrameInRowsOfTen)
{
    const struct
    {
        unsigned int width, height, frames, sheetWidth, sheetHeight;
    } cases[] = {
        {20, 10, 3, 8 + 3 * (160 + 8), 8 + (18 + 80 + 8)},       // enlarged 8 times, not 10
        {48, 32, 12, 8 + 10 * (144 + 8), 8 + 2 * (18 + 96 + 8)}, // 3 times, two rows
        {4, 120, 2, 8 + 2 * (10 + 8), 8 + (18 + 120 + 8)},       // as it is; a cell fits its number
    };
    for (const auto& sheetCase : cases)
    {
        PluginCopy plugin;
        GifToEncode gif{sheetCase.width, sheetCase.height, {0xFF0000, 0x0000FF}, 0, {}};
        for (unsigned int frame = 0; frame < sheetCase.frames; ++frame)
        {
            gif.images.push_back(GifImage{0, 0, sheetCase.width, sheetCase.height,
                                          std::vector<unsigned char>(sheetCase.width * sheetCase.height, frame % 2),
                                          {}, {}, false});
        }
        const std::wstring image = plugin.Folder().Write(L"animation.gif", EncodeGif(gif));

        const ChildRun run = RunHostTool({L"sheet", plugin.ModulePath(), image, plugin.Folder() / L"sheet.png"});

        ASSERT_EQ(run.exitCode, 0u) << sheetCase.frames << " frames\n" << run.output;
        const ImageDataCall sheet(plugin.Load(), AnsiPath(plugin.Folder() / L"sheet.png"), 0);
        ASSERT_EQ(sheet.result, 0) << sheetCase.frames << " frames";
        EXPECT_EQ(sheet.width, sheetCase.sheetWidth) << sheetCase.frames << " frames";
        EXPECT_EQ(sheet.height, sheetCase.sheetHeight) << sheetCase.frames << " frames";
        // Frame 0's first pixel, below its number: the first colour of the palette.
        EXPECT_EQ(sheet.Bytes().substr((std::size_t{26} * sheet.width + 8) * 3, 3), std::string("\xFF\0\0", 3))
            << sheetCase.frames << " frames";
    }
}

} // namespace
