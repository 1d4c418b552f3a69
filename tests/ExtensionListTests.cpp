#include "hosting/ComApartment.h"
#include "hosting/WicDecoders.h"
#include "support/CaseNames.h"
#include "support/ExtensionListShape.h"
#include "support/HostList.h"
#include "support/OpenHandles.h"
#include "support/PluginCopy.h"
#include "support/ScratchClassesRoot.h"
#include "support/SettingsText.h"
#include "support/TestImages.h"
#include "utilities/RegistryKey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace Tesmo::Tests;
using Tesmo::Plugin::Utilities::RegistryKey;

namespace
{

const std::string builtInList = "bmp,gif,jpeg,jpg,png,tif,tiff";

struct ExtensionListCase : NamedCase
{
    std::vector<DecoderRegistration> decoders; // none: not even the decoder category exists
    std::optional<std::wstring> settings;      // none: no settings file
    std::string expected;
};

using ExtensionListTest = testing::TestWithParam<ExtensionListCase>;

TEST_P(ExtensionListTest, ListsWhatTheHostMayOpen)
{
    const ExtensionListCase& testCase = GetParam();
    const ScratchClassesRoot registry;
    for (const DecoderRegistration& decoder : testCase.decoders)
    {
        registry.Register(decoder);
    }
    // A copy of its own per case: the profile reader caches settings files by time stamp.
    PluginCopy plugin;
    if (testCase.settings)
    {
        plugin.WriteSettings(*testCase.settings);
    }

    const HostList list(plugin.Load().getSupportedExtensions());

    ASSERT_TRUE(IsWholeList(list));
    EXPECT_EQ(std::string(list.get()), testCase.expected);
}

// Each broken registration is enumerated before a complete one, which must still be read.
DecoderRegistration Broken(const std::function<void(DecoderRegistration&)>& breakIt)
{
    DecoderRegistration decoder = CompleteDecoder(L"a-broken", L".broken");
    breakIt(decoder);
    return decoder;
}
const DecoderRegistration readAfterwards = CompleteDecoder(L"z-complete", L".later");
const std::string withLater = "bmp,gif,jpeg,jpg,later,png,tif,tiff";

ExtensionListCase Skipped(const char* label, const std::function<void(DecoderRegistration&)>& breakIt)
{
    return {label, {Broken(breakIt), readAfterwards}, std::nullopt, withLater};
}

ExtensionListCase Claiming(const char* label, const std::wstring& fileExtensions, const std::string& expected)
{
    return {label, {CompleteDecoder(L"codec", fileExtensions)}, std::nullopt, expected};
}

ExtensionListCase Settings(const char* label, const std::wstring& settings, const std::string& expected)
{
    return {label, {}, settings, expected};
}

ExtensionListCase Registered(const char* label, const std::vector<DecoderRegistration>& decoders,
                             const std::string& expected)
{
    return {label, decoders, std::nullopt, expected};
}

// One decoder claiming the extensions, and a settings file whose [Extensions] section holds the lines.
ExtensionListCase Excluding(const char* label, const std::wstring& fileExtensions, const std::wstring& lines,
                            const std::string& expected)
{
    return {label, {CompleteDecoder(L"codec", fileExtensions)}, ExtensionsSetting(lines), expected};
}

// 512 units: with a terminator the value exceeds the 1024-byte buffer.
const std::wstring tooLongText(512, L'x');
const std::wstring commas506(506, L',');

INSTANTIATE_TEST_SUITE_P(
    Registrations, ExtensionListTest,
    testing::Values(
        Registered("NoDecoderCategory", {}, builtInList),
        Registered("OneMoreDecoder", {CompleteDecoder(L"webp", L".webp")}, builtInList + ",webp"),
        Skipped("MissingFriendlyName", [](auto& d) { d.friendlyName.reset(); }),
        Skipped("EmptyFriendlyName", [](auto& d) { d.friendlyName = TextValue(L""); }),
        Skipped("MissingClsid", [](auto& d) { d.clsid.reset(); }),
        Skipped("EmptyClsidEvenWhenTheClsidKeyHasExtensions",
                [](auto& d) {
                    d.clsid = TextValue(L"");
                    d.classKeyPath = L"CLSID";
                }),
        Skipped("MissingClassKey", [](auto& d) { d.classKeyPath.reset(); }),
        Skipped("MissingFileExtensions", [](auto& d) { d.fileExtensions.reset(); }),
        Skipped("EmptyFileExtensions", [](auto& d) { d.fileExtensions = TextValue(L""); }),
        Skipped("FriendlyNameExpandSz", [](auto& d) { d.friendlyName->type = REG_EXPAND_SZ; }),
        Skipped("ClsidMultiSz",
                [](auto& d) {
                    d.clsid->bytes += std::string(2, '\0'); // the list's closing empty string
                    d.clsid->type = REG_MULTI_SZ;
                }),
        Skipped("FileExtensionsExpandSz", [](auto& d) { d.fileExtensions->type = REG_EXPAND_SZ; }),
        Skipped("FileExtensionsBinary", [](auto& d) { d.fileExtensions->type = REG_BINARY; }),
        Skipped("FriendlyNameOver1024Bytes", [](auto& d) { d.friendlyName = TextValue(tooLongText); }),
        Skipped("ClsidOver1024Bytes", [](auto& d) { d.clsid = TextValue(L"{" + tooLongText); }),
        Skipped("FileExtensionsOver1024Bytes", [](auto& d) { d.fileExtensions = TextValue(L".broken" + tooLongText); }),
        Claiming("FileExtensions1024BytesWithTerminator", commas506 + L".edge", "bmp,edge,gif,jpeg,jpg,png,tif,tiff"),
        // A subkey name of 255 units does not fit the name buffer with its terminator.
        Registered("WalkEndsAtFirstEnumerationError",
                   {CompleteDecoder(L"a-first", L".first"), CompleteDecoder(std::wstring(255, L'm'), L".long"),
                    CompleteDecoder(L"z-last", L".last")},
                   "bmp,first,gif,jpeg,jpg,png,tif,tiff")),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Tokens, ExtensionListTest,
    testing::Values(
        Claiming("MixedCaseAndRepeatsMerge", L".JPG,.Webp,.WEBP,.webp,.PNG", builtInList + ",webp"),
        Registered("RepeatsAcrossDecodersMerge",
                   {CompleteDecoder(L"one", L".webp"), CompleteDecoder(L"two", L".WebP,.gif")}, builtInList + ",webp"),
        Claiming("LoneDotsAndEmptyTokensIgnored", L",.,,.,,", builtInList),
        Claiming("OneLetter", L".x", builtInList + ",x"),
        Claiming("LaterDotKept", L".tar.gz", "bmp,gif,jpeg,jpg,png,tar.gz,tif,tiff"),
        Claiming("TrailingBlankKeptSeparately", L".jpg ,.jpg", "bmp,gif,jpeg,jpg,jpg ,png,tif,tiff"),
        Claiming("LeadingBlankOrNoDotSkipped", L" .webp,webp,x.y", builtInList),
        Claiming("ProperPrefixSortsFirst", L".jpe", "bmp,gif,jpe,jpeg,jpg,png,tif,tiff"),
        Claiming("LowByteCommaSplits", L".ab\u012C.cd", "ab,bmp,cd,gif,jpeg,jpg,png,tif,tiff"),
        // A zero unit ends the whole registry value, not just the token.
        Claiming("ZeroUnitEndsTheValue", std::wstring(L".ab\0,.cd", 8), "ab,bmp,gif,jpeg,jpg,png,tif,tiff"),
        Claiming("LowByteZeroCutsToken", L".ab\u0100cd,.\u0100zz,.ef", "ab,bmp,ef,gif,jpeg,jpg,png,tif,tiff"),
        Claiming("NonAsciiKeepsLowByte", L".caf\u00E9", "bmp,caf\xE9,gif,jpeg,jpg,png,tif,tiff"),
        Claiming("CjkLowByteIsHyphen", L".x\u4E2Dy", builtInList + ",x-y"),
        // Bytes from 0x80 are widened as negative chars, so they sort after every ASCII unit.
        Claiming("HighBytesSortLast", L".\u00E9,.zz", builtInList + ",zz,\xE9"),
        Claiming("OnlyAsciiLettersLowered", L".\u00C9T", builtInList + ",\xC9t")),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Exclusions, ExtensionListTest,
    testing::Values(
        Settings("GifExcluded", ExtensionsSetting(L"gif=excluded\r\n"), "bmp,jpeg,jpg,png,tif,tiff"),
        Settings("AnyLetterCaseExcludes", ExtensionsSetting(L"bmp=Excluded\r\npng=EXCLUDED\r\n"),
                 "gif,jpeg,jpg,tif,tiff"),
        Settings("OtherValuesKeep",
                 ExtensionsSetting(L"bmp=no\r\ngif=0\r\njpeg=false\r\njpg=exclude\r\npng=\r\ntif=included\r\n"),
                 builtInList),
        Settings("OtherSectionsIgnored", L"[GUI]\r\ngif=excluded\r\n", builtInList),
        Settings("EverythingExcluded",
                 ExtensionsSetting(L"bmp=excluded\r\ngif=excluded\r\njpeg=excluded\r\njpg=excluded\r\n"
                                   L"png=excluded\r\ntif=excluded\r\ntiff=excluded\r\n"),
                 ""),
        Excluding("LookedUpLoweredAndWithoutDot", L".WEBP,.tar.gz", L"webp=excluded\r\ntar.gz=excluded\r\n",
                  builtInList),
        // The key is the lowered extension widened byte by byte as a signed char, so the
        // registry's ".\u00E9x" (narrowed to 0xE9 'x') is looked up as U+FFE9 'x'.
        Excluding("HighByteKeySignExtended", L".\u00E9x", L"\uFFE9x=excluded\r\n", builtInList),
        Excluding("HighByteKeyNotZeroExtended", L".\u00E9x", L"\u00E9x=excluded\r\n", builtInList + ",\xE9x")),
    CaseName());

// The machine's own registry and WIC's own enumerator, whatever decoders they hold: the
// built-in extensions and every extension of every decoder WIC reports with a name (split
// at ',' and ';'), less those the settings file switches off. Under Wine the list is
// exactly that: Wine's decoder category holds no friendly names, so the registry walk adds
// nothing, and all nine of Wine's decoders come from the enumerator. Elsewhere complete
// registrations may add more.
struct RealRegistryCase : NamedCase
{
    std::wstring excludedLines; // the [Extensions] section
    std::vector<std::string> excluded;
};

using RealRegistryListTest = testing::TestWithParam<RealRegistryCase>;

// The built-in extensions and those of every decoder WIC's enumerator reports by name,
// sorted, without repeats.
std::vector<std::string> ExtensionsWicEnumerates()
{
    const Tesmo::PluginHost::ComApartment apartment(COINIT_APARTMENTTHREADED);
    std::vector<std::string> extensions = {"bmp", "gif", "jpeg", "jpg", "png", "tif", "tiff"};
    for (const Tesmo::PluginHost::WicDecoder& decoder : Tesmo::PluginHost::EnumerateWicDecoders())
    {
        if (decoder.friendlyName.empty())
        {
            continue;
        }
        for (const std::wstring& extension : Tesmo::PluginHost::SplitDeclaredExtensions(decoder.declaredExtensions))
        {
            extensions.emplace_back(extension.begin(), extension.end());
        }
    }
    std::sort(extensions.begin(), extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    return extensions;
}

TEST_P(RealRegistryListTest, HoldsEveryExtensionWicEnumerates)
{
    const RealRegistryCase& testCase = GetParam();
    PluginCopy plugin;
    plugin.WriteSettings(ExtensionsSetting(testCase.excludedLines));
    std::vector<std::string> expected = ExtensionsWicEnumerates();
    ASSERT_GT(expected.size(), 7u) << "WIC should report decoders beyond the built-in list";
    std::erase_if(expected, [&](const std::string& extension) {
        return std::find(testCase.excluded.begin(), testCase.excluded.end(), extension) != testCase.excluded.end();
    });

    const HostList list(plugin.Load().getSupportedExtensions());

    ASSERT_TRUE(IsWholeList(list));
    EXPECT_EQ(ExtensionListFault(list.get()), "") << list.get();
    const std::string items = std::string(",").append(list.get()).append(",");
    const auto listed = [&](const std::string& extension) {
        return items.find(std::string(",").append(extension).append(",")) != std::string::npos;
    };
    for (const std::string& extension : expected)
    {
        EXPECT_TRUE(listed(extension)) << extension << " in " << list.get();
    }
    for (const std::string& extension : testCase.excluded)
    {
        EXPECT_FALSE(listed(extension)) << extension << " in " << list.get();
    }
    if (RunningUnderWine())
    {
        std::string exactly = ",";
        for (const std::string& extension : expected)
        {
            exactly.append(extension).append(",");
        }
        EXPECT_EQ(items, exactly);
    }
}

INSTANTIATE_TEST_SUITE_P(
    WicsOwnDecoders, RealRegistryListTest,
    testing::Values(RealRegistryCase{"NoExclusions", L"", {}},
                    RealRegistryCase{"AddedExtensionExcluded", L"tga=excluded\r\n", {"tga"}},
                    RealRegistryCase{"BuiltInAndAddedExcluded", L"gif=Excluded\r\ndds=EXCLUDED\r\n", {"gif", "dds"}}),
    CaseName());

TEST(ExtensionList, EveryRegistryKeyIsClosed)
{
    const ScratchClassesRoot registry;
    for (const DecoderRegistration& decoder :
         {CompleteDecoder(L"a", L".a"), Broken([](auto& d) { d.classKeyPath.reset(); }),
          Broken([](auto& d) { d.fileExtensions->type = REG_BINARY; }), CompleteDecoder(L"z", L".z")})
    {
        registry.Register(decoder);
    }
    PluginCopy plugin;
    const auto& library = plugin.Load();
    const HostList warmUp(library.getSupportedExtensions()); // the first call may open handles it keeps

    // The count must see registry keys, or this test would prove nothing.
    const long beforeProbe = CountOpenHandles();
    long withProbe = -1;
    {
        const RegistryKey probe(HKEY_CLASSES_ROOT, L"CLSID", KEY_QUERY_VALUE);
        ASSERT_TRUE(probe.IsOpen());
        withProbe = CountOpenHandles();
    }
    ASSERT_NE(beforeProbe, -1);
    ASSERT_EQ(withProbe, beforeProbe + 1);

    const long before = CountOpenHandles();
    for (int call = 0; call < 5; ++call)
    {
        const HostList list(library.getSupportedExtensions());
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(std::string(list.get()), "a,bmp,gif,jpeg,jpg,png,tif,tiff,z");
    }
    EXPECT_EQ(CountOpenHandles(), before);
}

} // namespace
