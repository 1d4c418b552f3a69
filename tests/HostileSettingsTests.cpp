// Settings files the module did not write: whatever they hold, GetDisplayName answers
// 0 with a name of 1 to 31 bytes inside the buffer, or -1 with the buffer untouched.

#include "support/PluginCopy.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

using namespace Tesmo::Tests;

namespace
{

constexpr unsigned int bufferSize = 64;
constexpr char guard = '\x5A';

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

struct HostileSettingsCase
{
    const char* label;
    // Prepares whatever sits at the settings path.
    std::function<void(const PluginCopy&)> prepare;
    // The name expected, or none when either documented answer is acceptable.
    std::optional<std::string> expectedName;
    int expectedResult = 0;
    // Held open without sharing by another program during the call.
    bool locked = false;
};

void PrintTo(const HostileSettingsCase& testCase, std::ostream* out)
{
    *out << testCase.label;
}

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
    HANDLE lock = INVALID_HANDLE_VALUE;
    if (testCase.locked)
    {
        lock = CreateFileW(plugin.SettingsPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    }
    std::string buffer(bufferSize + 16, guard);

    const int result = plugin.Load().getDisplayName(buffer.data(), bufferSize);
    if (lock != INVALID_HANDLE_VALUE)
    {
        CloseHandle(lock);
    }

    ASSERT_TRUE(result == 0 || result == -1) << result;
    if (testCase.expectedName)
    {
        ASSERT_EQ(result, testCase.expectedResult);
    }
    size_t written = 0;
    if (result == 0)
    {
        const size_t length = std::strlen(buffer.c_str());
        EXPECT_LE(length, 31u);
        if (testCase.expectedName)
        {
            EXPECT_EQ(buffer.substr(0, length), *testCase.expectedName);
        }
        written = length + 1;
    }
    for (size_t i = written; i < buffer.size(); ++i)
    {
        ASSERT_EQ(buffer[i], guard) << "byte " << i << " was written";
    }
}

const std::string defaultName = "WIC Supported images";

INSTANTIATE_TEST_SUITE_P(
    Files, HostileSettingsTest,
    testing::Values(
        HostileSettingsCase{"BinaryGarbage", Bytes(GarbageBytes(1, 8192)), std::nullopt},
        HostileSettingsCase{"GarbageAfterSection", Bytes("[GUI]\r\n" + GarbageBytes(2, 4096)), std::nullopt},
        HostileSettingsCase{"NoSections", Bytes("name=Orphan\r\ngif=excluded\r\n"), defaultName},
        HostileSettingsCase{"VeryLongLine", Bytes("[GUI]\r\nname=" + std::string(100'000, 'x') + "\r\n"), "", -1},
        HostileSettingsCase{"Name4095Units", Bytes("[GUI]\r\nname=" + std::string(4095, 'y') + "\r\n"), "", -1},
        HostileSettingsCase{"Name4096Units", Bytes("[GUI]\r\nname=" + std::string(4096, 'z') + "\r\n"), "", -1},
        HostileSettingsCase{"EmbeddedNul", Bytes(std::string("[GUI]\r\nname=ab\0cd\r\n", 18)), std::nullopt},
        HostileSettingsCase{"Utf16WithMark", Bytes("\xFF\xFE" + Utf16Bytes(L"[GUI]\r\nname=Wide\r\n")), "Wide"},
        HostileSettingsCase{"Utf16WithoutMark", Bytes(Utf16Bytes(L"[GUI]\r\nname=Wide\r\n")), std::nullopt},
        HostileSettingsCase{"Utf8WithMark", Bytes("\xEF\xBB\xBF[GUI]\r\nname=Caf\xC3\xA9\r\n"), "Caf\xE9"},
        HostileSettingsCase{"AnsiText", Bytes("[GUI]\r\nname=Plain\r\n"), "Plain"},
        HostileSettingsCase{"EmptyFile", Bytes(""), defaultName},
        HostileSettingsCase{"PathIsAFolder",
                            [](const PluginCopy& plugin) { CreateDirectoryW(plugin.SettingsPath().c_str(), nullptr); },
                            defaultName},
        HostileSettingsCase{"LockedFile", Bytes("[GUI]\r\nname=Locked\r\n"), defaultName, 0, true}),
    [](const testing::TestParamInfo<HostileSettingsCase>& info) { return std::string(info.param.label); });

// Every buffer size from 0 to 40, with a guard after the buffer: the call succeeds
// exactly when the name and its terminator fit, and never writes past bufferSize.
TEST(DisplayNameBoundary, EveryBufferSizeRespectsTheGuard)
{
    for (const std::string& name : {defaultName, std::string(31, 'q'), std::string("x")})
    {
        PluginCopy plugin;
        plugin.WriteSettings(L"[GUI]\r\nname=" + std::wstring(name.begin(), name.end()) + L"\r\n");
        for (unsigned int size = 0; size <= 40; ++size)
        {
            std::string buffer(size + 32, guard);
            const int result = plugin.Load().getDisplayName(buffer.data(), size);
            const bool fits = name.size() < size;
            ASSERT_EQ(result, fits ? 0 : -1) << "name length " << name.size() << " size " << size;
            const size_t written = fits ? name.size() + 1 : 0;
            if (fits)
            {
                ASSERT_EQ(std::string(buffer.c_str()), name) << "size " << size;
            }
            for (size_t i = written; i < buffer.size(); ++i)
            {
                ASSERT_EQ(buffer[i], guard) << "name length " << name.size() << " size " << size << " byte " << i;
            }
        }
    }
}

} // namespace
