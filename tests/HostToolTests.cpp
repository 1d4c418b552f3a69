// The host tool run as a user runs it, as a process of its own: `formats` marks every
// decoder's extensions offered, a decode whose WIC factory cannot be made names that step,
// and the extension list without WIC is the registry's alone. Of the eight failing steps, reading the frame count and reading the frame size
// cannot be made to fail for real with any file (WIC's decoders fail such a file when it
// is opened), so neither is tested here rather than faked.

#include "support/FailureMessages.h"
#include "support/HostToolRun.h"
#include "support/PlatformProbes.h"
#include "support/PluginCopy.h"

#include <gtest/gtest.h>

#include <string>

using namespace Tesmo::Tests;

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

} // namespace
