#include "support/CaseNames.h"
#include "support/DisplayNameCall.h"
#include "support/FileHandle.h"
#include "support/PluginCopy.h"
#include "support/SettingsText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

using namespace Tesmo::Tests;

namespace
{

struct DisplayNameCase : NamedCase
{
    std::optional<std::wstring> settings; // no settings file when empty
    unsigned int bufferSize;
    int expectedResult;
    std::string expectedName; // what the buffer holds on success
};

class DisplayNameTest : public testing::TestWithParam<DisplayNameCase>
{
};

TEST_P(DisplayNameTest, WritesTheNameOrLeavesTheBufferAlone)
{
    const DisplayNameCase& testCase = GetParam();
    PluginCopy plugin;
    if (testCase.settings)
    {
        plugin.WriteSettings(*testCase.settings);
    }

    const DisplayNameCall call(plugin.Load(), testCase.bufferSize);

    ASSERT_EQ(call.result, testCase.expectedResult);
    if (call.result == 0)
    {
        ASSERT_EQ(call.Name(), testCase.expectedName);
    }
    ASSERT_TRUE(call.WroteOnlyTheName());
}

const std::wstring name31(31, L'n');

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayNameTest,
    testing::Values(
        DisplayNameCase{"DefaultFitsIn21Bytes", std::nullopt, 21, 0, defaultDisplayName},
        DisplayNameCase{"DefaultRefused20Bytes", std::nullopt, 20, -1, ""},
        DisplayNameCase{"ZeroSizeRefused", std::nullopt, 0, -1, ""},
        DisplayNameCase{"OtherSectionsKeepDefault", ExtensionsSetting(L"gif=excluded\r\n"), 64, 0, defaultDisplayName},
        DisplayNameCase{"ConfiguredName", NameSetting(L"All decodable images"), 64, 0, "All decodable images"},
        DisplayNameCase{"Name31UnitsWhole", NameSetting(name31), 32, 0, std::string(31, 'n')},
        DisplayNameCase{"Name31UnitsNeeds32Bytes", NameSetting(name31), 31, -1, ""},
        DisplayNameCase{"Name32UnitsRefused", NameSetting(name31 + L"n"), 4096, -1, ""},
        DisplayNameCase{"EmptyNameRefused", NameSetting(L""), 64, -1, ""},
        DisplayNameCase{"NonAsciiKeepsLowByte", NameSetting(L"Caf\u00e9"), 64, 0, "Caf\xE9"},
        DisplayNameCase{"ZeroLowByteCutsName", NameSetting(L"ab\u0100cd"), 64, 0, "ab"}),
    CaseName());

TEST(DisplayName, NullBufferFailsForEverySize)
{
    PluginCopy plugin;
    for (const unsigned int size : {0u, 1u, 21u, 4096u, 0xFFFFFFFFu})
    {
        EXPECT_EQ(plugin.Load().getDisplayName(nullptr, size), -1) << "size " << size;
    }
}

// The settings file is named after the module file, whatever it is called: only the last
// extension is replaced.
TEST(DisplayName, SettingsFileFollowsTheModuleName)
{
    for (const std::wstring moduleName : {L"a.b.dll", L"Renamed.dll", L"noextension.plugin"})
    {
        PluginCopy plugin(moduleName);
        plugin.WriteSettings(NameSetting(L"Named after " + moduleName));
        WriteUtf16File(plugin.Folder() / L"a.ini", NameSetting(L"wrong file"));
        WriteUtf16File(plugin.Folder() / L"WicImagePlugin.ini", NameSetting(L"wrong file"));

        char buffer[64] = {};
        ASSERT_EQ(plugin.Load().getDisplayName(buffer, sizeof buffer), 0);
        const std::string expected = "Named after " + std::string(moduleName.begin(), moduleName.end());
        EXPECT_EQ(std::string(buffer), expected);
    }
}

// Nothing is cached: an edited settings file counts from the next call on.
TEST(DisplayName, EditedSettingsApplyWithoutReloading)
{
    PluginCopy plugin;
    plugin.WriteSettings(NameSetting(L"First"));
    char buffer[64] = {};
    ASSERT_EQ(plugin.Load().getDisplayName(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "First");

    plugin.WriteSettings(NameSetting(L"Second"));
    // The profile reader decides by time stamp whether to read the file again.
    const FileHandle file(
        CreateFileW(plugin.SettingsPath().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
    FILETIME later;
    GetSystemTimeAsFileTime(&later);
    ULARGE_INTEGER ticks{{later.dwLowDateTime, later.dwHighDateTime}};
    ticks.QuadPart += 100'000'000; // ten seconds
    later = {ticks.LowPart, ticks.HighPart};
    SetFileTime(file.get(), nullptr, nullptr, &later);

    ASSERT_EQ(plugin.Load().getDisplayName(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "Second");
}

} // namespace
