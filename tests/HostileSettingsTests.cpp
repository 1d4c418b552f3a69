// Settings files the module did not write: whatever they hold, GetDisplayName answers
// 0 with a name of 1 to 31 bytes inside the buffer, or -1 with the buffer untouched.

#include "support/CaseNames.h"
#include "support/DisplayNameCall.h"
#include "support/FileHandle.h"
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

constexpr unsigned int bufferSize = 64;

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

struct HostileSettingsCase : NamedCase
{
    // Prepares whatever sits at the settings path.
    std::function<void(const PluginCopy&)> prepare;
    // The name expected, or none when either documented answer is acceptable.
    std::optional<std::string> expectedName;
    int expectedResult = 0;
    // Held open without sharing by another program during the call.
    bool locked = false;
};

std::function<void(const PluginCopy&)> Bytes(std::string bytes)
{
    return [bytes](const PluginCopy& plugin) { WriteFileBytes(plugin.SettingsPath(), bytes); };
}

class HostileSettingsTest : public testing::TestWithParam<HostileSettingsCase>
{
};

TEST_P(HostileSettingsTest, GivesADocumentedAnswer)
{
    const HostileSettingsCase& testCase = GetParam();
    PluginCopy plugin;
    testCase.prepare(plugin);
    FileHandle lock;
    if (testCase.locked)
    {
        lock.reset(CreateFileW(plugin.SettingsPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               0, nullptr));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    }

    const DisplayNameCall call(plugin.Load(), bufferSize);
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
            EXPECT_EQ(call.Name(), *testCase.expectedName);
        }
    }
    ASSERT_TRUE(call.WroteOnlyTheName());
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileSettingsTest,
    testing::Values(
        HostileSettingsCase{"BinaryGarbage", Bytes(GarbageBytes(1, 8192)), std::nullopt},
        HostileSettingsCase{"GarbageAfterSection", Bytes("[GUI]\r\n" + GarbageBytes(2, 4096)), std::nullopt},
        HostileSettingsCase{"NoSections", Bytes("name=Orphan\r\ngif=excluded\r\n"), defaultDisplayName},
        HostileSettingsCase{"VeryLongLine", Bytes("[GUI]\r\nname=" + std::string(100'000, 'x') + "\r\n"), "", -1},
        HostileSettingsCase{"Name4095Units", Bytes("[GUI]\r\nname=" + std::string(4095, 'y') + "\r\n"), "", -1},
        HostileSettingsCase{"Name4096Units", Bytes("[GUI]\r\nname=" + std::string(4096, 'z') + "\r\n"), "", -1},
        HostileSettingsCase{"EmbeddedNul", Bytes(std::string("[GUI]\r\nname=ab\0cd\r\n", 18)), std::nullopt},
        HostileSettingsCase{"Utf16WithMark", Bytes("\xFF\xFE" + Utf16Bytes(L"[GUI]\r\nname=Wide\r\n")), "Wide"},
        HostileSettingsCase{"Utf16WithoutMark", Bytes(Utf16Bytes(L"[GUI]\r\nname=Wide\r\n")), std::nullopt},
        HostileSettingsCase{"Utf8WithMark", Bytes("\xEF\xBB\xBF[GUI]\r\nname=Caf\xC3\xA9\r\n"), "Caf\xE9"},
        HostileSettingsCase{"AnsiText", Bytes("[GUI]\r\nname=Plain\r\n"), "Plain"},
        HostileSettingsCase{"EmptyFile", Bytes(""), defaultDisplayName},
        HostileSettingsCase{"PathIsAFolder",
                            [](const PluginCopy& plugin) { CreateDirectoryW(plugin.SettingsPath().c_str(), nullptr); },
                            defaultDisplayName},
        HostileSettingsCase{"LockedFile", Bytes("[GUI]\r\nname=Locked\r\n"), defaultDisplayName, 0, true}),
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

} // namespace
