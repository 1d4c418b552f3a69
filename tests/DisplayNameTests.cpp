// GetDisplayName and its settings file: the name when it and its terminator fit the
// buffer, or -1 with the buffer untouched. Settings files the module did not write, whatever
// they hold, give 0 with a name of 1 to 31 bytes inside the buffer, or -1 with the buffer
// untouched.

#include "support/CaseNames.h"
#include "support/DisplayNameCall.h"
#include "support/HandleOwner.h"
#include "support/PluginCopy.h"
#include "support/SettingsText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

using namespace Tesmo::Tests;

namespace
{

struct DisplayNameCase : NamedCase
{
    // Prepares whatever sits at the settings path; no settings file when empty.
    std::function<void(const PluginCopy&)> prepare;
    unsigned int bufferSize;
    // The name expected on success, or none when either documented answer is acceptable.
    std::optional<std::string> expectedName;
    int expectedResult = 0;
    // Held open without sharing by another program during the call.
    bool locked = false;
};

std::function<void(const PluginCopy&)> Settings(const std::wstring& text)
{
    return [text](const PluginCopy& plugin) { plugin.WriteSettings(text); };
}

std::function<void(const PluginCopy&)> Bytes(const std::string& bytes)
{
    return [bytes](const PluginCopy& plugin) { WriteFileBytes(plugin.SettingsPath(), bytes); };
}

std::string GarbageBytes(std::uint32_t seed, size_t count)
{
    std::string bytes(count, '\0');
    for (char& byte : bytes)
    {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 16);
    }
    return bytes;
}

void CallAndCheck(const DisplayNameCase& testCase)
{
    PluginCopy plugin;
    if (testCase.prepare)
    {
        testCase.prepare(plugin);
    }
    HandleOwner lock;
    if (testCase.locked)
    {
        lock.reset(CreateFileW(plugin.SettingsPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               0, nullptr));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    }

    const DisplayNameCall call(plugin.Load(), testCase.bufferSize);
    lock.reset();

    ASSERT_TRUE(call.result == 0 || call.result == -1) << call.result;
    if (testCase.expectedName)
    {
        ASSERT_EQ(call.result, testCase.expectedResult);
    }
    if (call.result == 0)
    {
        EXPECT_LE(call.Name().size(), 31u);
        if (testCase.expectedName)
        {
            ASSERT_EQ(call.Name(), *testCase.expectedName);
        }
    }
    ASSERT_TRUE(call.WroteOnlyTheName());
}

using DisplayNameTest = testing::TestWithParam<DisplayNameCase>;

TEST_P(DisplayNameTest, WritesTheNameOrLeavesTheBufferAlone)
{
    CallAndCheck(GetParam());
}

const std::wstring name31(31, L'n');

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayNameTest,
    testing::Values(
        DisplayNameCase{"DefaultFitsIn21Bytes", {}, 21, defaultDisplayName},
        DisplayNameCase{"DefaultRefused20Bytes", {}, 20, "", -1},
        DisplayNameCase{"ZeroSizeRefused", {}, 0, "", -1},
        DisplayNameCase{"OtherSectionsKeepDefault", Settings(ExtensionsSetting(L"gif=excluded\r\n")), 64,
                        defaultDisplayName},
        DisplayNameCase{"ConfiguredName", Settings(NameSetting(L"All decodable images")), 64, "All decodable images"},
        DisplayNameCase{"Name31UnitsWhole", Settings(NameSetting(name31)), 32, std::string(31, 'n')},
        DisplayNameCase{"Name31UnitsNeeds32Bytes", Settings(NameSetting(name31)), 31, "", -1},
        DisplayNameCase{"Name32UnitsRefused", Settings(NameSetting(name31 + L"n")), 4096, "", -1},
        DisplayNameCase{"EmptyNameRefused", Settings(NameSetting(L"")), 64, "", -1},
        DisplayNameCase{"NonAsciiKeepsLowByte", Settings(NameSetting(L"Caf\u00e9")), 64, "Caf\xE9"},
        DisplayNameCase{"ZeroLowByteCutsName", Settings(NameSetting(L"ab\u0100cd")), 64, "ab"}),
    CaseName());

using HostileSettingsTest = testing::TestWithParam<DisplayNameCase>;

TEST_P(HostileSettingsTest, GivesADocumentedAnswer)
{
    CallAndCheck(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileSettingsTest,
    testing::Values(
        DisplayNameCase{"BinaryGarbage", Bytes(GarbageBytes(1, 8192)), 64, std::nullopt},
        DisplayNameCase{"GarbageAfterSection", Bytes("[GUI]\r\n" + GarbageBytes(2, 4096)), 64, std::nullopt},
        DisplayNameCase{"NoSections", Bytes("name=Orphan\r\ngif=excluded\r\n"), 64, defaultDisplayName},
        DisplayNameCase{"VeryLongLine", Bytes("[GUI]\r\nname=" + std::string(100'000, 'x') + "\r\n"), 64, "", -1},
        DisplayNameCase{"Name4095Units", Bytes("[GUI]\r\nname=" + std::string(4095, 'y') + "\r\n"), 64, "", -1},
        DisplayNameCase{"Name4096Units", Bytes("[GUI]\r\nname=" + std::string(4096, 'z') + "\r\n"), 64, "", -1},
        DisplayNameCase{"EmbeddedNul", Bytes(std::string("[GUI]\r\nname=ab\0cd\r\n", 18)), 64, std::nullopt},
        DisplayNameCase{"Utf16WithMark", Bytes("\xFF\xFE" + Utf16Bytes(L"[GUI]\r\nname=Wide\r\n")), 64, "Wide"},
        DisplayNameCase{"Utf16WithoutMark", Bytes(Utf16Bytes(L"[GUI]\r\nname=Wide\r\n")), 64, std::nullopt},
        DisplayNameCase{"Utf8WithMark", Bytes("\xEF\xBB\xBF[GUI]\r\nname=Caf\xC3\xA9\r\n"), 64, "Caf\xE9"},
        DisplayNameCase{"AnsiText", Bytes("[GUI]\r\nname=Plain\r\n"), 64, "Plain"},
        DisplayNameCase{"EmptyFile", Bytes(""), 64, defaultDisplayName},
        DisplayNameCase{"PathIsAFolder",
                        [](const PluginCopy& plugin) { CreateDirectoryW(plugin.SettingsPath().c_str(), nullptr); }, 64,
                        defaultDisplayName},
        DisplayNameCase{"LockedFile", Bytes("[GUI]\r\nname=Locked\r\n"), 64, defaultDisplayName, 0, true}),
    CaseName());

// Every buffer size from 0 to 40, with a guard after the buffer: the call succeeds
// exactly when the name and its terminator fit, and never writes past bufferSize.
TEST(DisplayNameBoundary, EveryBufferSizeRespectsTheGuard)
{
    for (const std::string& name : {defaultDisplayName, std::string(31, 'q'), std::string("x")})
    {
        PluginCopy plugin;
        plugin.WriteSettings(NameSetting(std::wstring(name.begin(), name.end())));
        for (unsigned int size = 0; size <= 40; ++size)
        {
            const DisplayNameCall call(plugin.Load(), size);
            const bool fits = name.size() < size;
            ASSERT_EQ(call.result, fits ? 0 : -1) << "name length " << name.size() << " size " << size;
            if (fits)
            {
                ASSERT_EQ(call.Name(), name) << "size " << size;
            }
            ASSERT_TRUE(call.WroteOnlyTheName()) << "name length " << name.size() << " size " << size;
        }
    }
}

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
    const HandleOwner file(
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
