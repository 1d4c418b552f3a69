#include "support/ScratchClassesRoot.h"

#include "utilities/Wic.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

using namespace Tesmo::Tests;
using Tesmo::Plugin::Utilities::DecoderInfo;
using Tesmo::Plugin::Utilities::Wic;

namespace
{

void ExpectBuiltInEntry(const Wic& wic)
{
    DecoderInfo first;
    ASSERT_TRUE(wic.CopyDecoder(0, first));
    EXPECT_EQ(first.friendlyName, L"Microsoft Windows Native Imaging Codec");
    EXPECT_EQ(first.clsid, L"");
    EXPECT_EQ(first.fileExtensions, L".jpg,.jpeg,.tif,.tiff,.gif,.png,.bmp");
}

TEST(Wic, WithoutDecoderCategoryOnlyTheBuiltInEntry)
{
    const ScratchClassesRoot registry;
    Wic wic;

    EXPECT_FALSE(wic.EnumerateDecoders());
    ASSERT_EQ(wic.DecoderCount(), 1u);
    ExpectBuiltInEntry(wic);
}

TEST(Wic, RegisteredDecodersFollowInEnumerationOrder)
{
    const ScratchClassesRoot registry;
    const DecoderRegistration second = CompleteDecoder(L"b-second", L".b2,.B3");
    const DecoderRegistration first = CompleteDecoder(L"a-first", L".a1");
    registry.Register(second);
    registry.Register(first);
    Wic wic;

    // Reading again must replace the list, not add to it.
    ASSERT_TRUE(wic.EnumerateDecoders());
    ASSERT_TRUE(wic.EnumerateDecoders());

    ASSERT_EQ(wic.DecoderCount(), 3u);
    ExpectBuiltInEntry(wic);
    DecoderInfo decoder;
    ASSERT_TRUE(wic.CopyDecoder(1, decoder));
    EXPECT_EQ(decoder.friendlyName, L"a-first decoder");
    EXPECT_EQ(L"CLSID\\" + decoder.clsid, *first.classKeyPath);
    EXPECT_EQ(decoder.fileExtensions, L".a1");
    ASSERT_TRUE(wic.CopyDecoder(2, decoder));
    EXPECT_EQ(decoder.fileExtensions, L".b2,.B3");
    EXPECT_FALSE(wic.CopyDecoder(3, decoder));
    EXPECT_EQ(decoder.fileExtensions, L".b2,.B3") << "a failed copy leaves the target alone";
}

struct RegistryStringCase
{
    const char* label;
    std::optional<RegistryValue> stored; // none: the value does not exist
    bool read;
    std::wstring text; // what the receiving string holds afterwards
};

void PrintTo(const RegistryStringCase& testCase, std::ostream* out)
{
    *out << testCase.label;
}

class ReadRegistryStringTest : public testing::TestWithParam<RegistryStringCase>
{
};

TEST_P(ReadRegistryStringTest, ReadsTextOrLeavesTheTargetAlone)
{
    const RegistryStringCase& testCase = GetParam();
    const ScratchClassesRoot registry;
    registry.CreateKey(L"Key");
    if (testCase.stored)
    {
        registry.SetValue(L"Key", L"Value", *testCase.stored);
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Key", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    std::wstring text = L"untouched";

    const bool read = Wic::ReadRegistryString(key, L"Value", text);

    RegCloseKey(key);
    EXPECT_EQ(read, testCase.read);
    EXPECT_EQ(text, testCase.text);
}

const std::wstring units511(511, L'u');

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRegistryStringTest,
    testing::Values(RegistryStringCase{"Missing", std::nullopt, false, L"untouched"},
                    RegistryStringCase{"Text", TextValue(L".a,.b"), true, L".a,.b"},
                    RegistryStringCase{"Empty", TextValue(L""), true, L""},
                    RegistryStringCase{"EndsAtFirstZeroUnit", TextValue(std::wstring(L"ab\0cd", 5)), true, L"ab"},
                    RegistryStringCase{"Fills1024Bytes", TextValue(units511), true, units511},
                    RegistryStringCase{"Unterminated", UnterminatedText(L".a,.b"), true, L".a,.b"},
                    RegistryStringCase{"Over1024Bytes", TextValue(units511 + L"v"), false, L"untouched"},
                    RegistryStringCase{"ExpandSz", TextValue(L"x", REG_EXPAND_SZ), false, L"untouched"},
                    RegistryStringCase{"MultiSz", TextValue(std::wstring(L"x\0", 2), REG_MULTI_SZ), false, L"untouched"},
                    RegistryStringCase{"Binary", TextValue(L"x", REG_BINARY), false, L"untouched"},
                    RegistryStringCase{"Dword", RegistryValue{REG_DWORD, std::string(4, '\1')}, false, L"untouched"}),
    [](const testing::TestParamInfo<RegistryStringCase>& info) { return std::string(info.param.label); });

} // namespace
