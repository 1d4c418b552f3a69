// Decoder registrations as the module reads them: its catalogue (Wic) lists the built-in
// entry and then the registered decoders in enumeration order. Registrations the module
// did not write: whatever type, size or shape a value has, GetSupportedExtensions returns a
// well-formed list, still reads the decoders after the broken one, and closes every key it
// opened.

#include "support/ExtensionListShape.h"
#include "support/HostList.h"
#include "support/OpenHandles.h"
#include "support/PluginCopy.h"
#include "support/ScratchClassesRoot.h"
#include "utilities/Wic.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

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

// WIC's own enumerator on this machine: every decoder it reports that the registry walk
// did not list joins once, named, with commas for Wine's semicolons; asking again adds
// nothing, as each class is then already in the list.
TEST(Wic, EnumeratedDecodersJoinOncePerClass)
{
    Wic wic;
    wic.EnumerateDecoders();
    const std::size_t walked = wic.DecoderCount();

    ASSERT_TRUE(wic.AddEnumeratedDecoders());
    const std::size_t withEnumerated = wic.DecoderCount();
    ASSERT_TRUE(wic.AddEnumeratedDecoders());

    EXPECT_EQ(wic.DecoderCount(), withEnumerated);
    EXPECT_GT(withEnumerated, walked) << "WIC should report decoders the walk does not list";
    std::vector<std::wstring> classes;
    DecoderInfo decoder;
    for (std::size_t index = walked; wic.CopyDecoder(index, decoder); ++index)
    {
        EXPECT_FALSE(decoder.friendlyName.empty()) << index;
        EXPECT_EQ(decoder.fileExtensions.find(L';'), std::wstring::npos) << index;
        EXPECT_EQ(decoder.fileExtensions.front(), L'.') << index;
        EXPECT_EQ(std::count(classes.begin(), classes.end(), decoder.clsid), 0) << index;
        classes.push_back(decoder.clsid);
    }
}


constexpr DWORD everyValueType[] = {REG_NONE,  REG_SZ,   REG_EXPAND_SZ,        REG_BINARY,   REG_DWORD,
                                    REG_LINK,  REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ, REG_QWORD, REG_RESOURCE_LIST};
constexpr size_t hostileSizes[] = {0, 1, 2, 1022, 1023, 1024, 1025, 1026, 4096};

// Text-like bytes without a terminator: ".x,.x,..." cut to the requested size.
RegistryValue Unterminated(DWORD type, size_t byteCount)
{
    std::string bytes;
    while (bytes.size() < byteCount)
    {
        bytes.append(".\0x\0,\0", 6);
    }
    bytes.resize(byteCount);
    return {type, bytes};
}

struct Field
{
    const char* name;
    std::optional<RegistryValue> DecoderRegistration::*value;
};

constexpr Field fields[] = {{"FriendlyName", &DecoderRegistration::friendlyName},
                            {"CLSID", &DecoderRegistration::clsid},
                            {"FileExtensions", &DecoderRegistration::fileExtensions}};

std::string ListFromACopy()
{
    PluginCopy plugin;
    const HostList list(plugin.Load().getSupportedExtensions());
    const testing::AssertionResult whole = IsWholeList(list);
    return whole ? std::string(list.get()) : std::string("<").append(whole.message()).append(">");
}

TEST(HostileRegistry, EveryValueTypeAndSizeGivesAWellFormedList)
{
    PluginCopy plugin;
    const auto& exports = plugin.Load();
    int cases = 0;
    std::free(exports.getSupportedExtensions()); // the first call may load what it needs
    // Over all the cases, not only around each call: what the scratch registries open and
    // close counts too.
    const long handlesAtStart = CountOpenHandles();
    for (const Field& field : fields)
    {
        for (const DWORD type : everyValueType)
        {
            for (const size_t size : hostileSizes)
            {
                const ScratchClassesRoot registry;
                DecoderRegistration hostile = CompleteDecoder(L"a-hostile", L".hostile");
                hostile.*field.value = Unterminated(type, size);
                registry.Register(hostile);
                registry.Register(CompleteDecoder(L"z-after", L".after"));
                std::free(exports.getSupportedExtensions()); // first call may load what it needs
                const long handlesBefore = CountOpenHandles();

                const HostList list(exports.getSupportedExtensions());

                const long handlesAfter = CountOpenHandles();
                const std::string context =
                    std::string(field.name) + " type " + std::to_string(type) + " size " + std::to_string(size);
                ASSERT_NE(list, nullptr) << context;
                EXPECT_TRUE(IsWholeList(list)) << context;
                const std::string text = list.get();
                EXPECT_EQ(ExtensionListFault(text.c_str()), "") << context << ": " << text;
                EXPECT_NE(("," + text + ",").find(",after,"), std::string::npos) << context << ": " << text;
                EXPECT_EQ(handlesAfter, handlesBefore) << context;
                ++cases;
            }
        }
    }
    RecordProperty("cases", cases);
    EXPECT_LE(CountOpenHandles(), handlesAtStart + 2) << "handles grew over " << cases << " cases";
}

// Subkey names at the limit: 254 units fit the name buffer with their terminator and are
// read; a 255-unit name does not fit and ends the walk, after which the list is still
// well-formed.
TEST(HostileRegistry, SubkeyNamesAtTheLimit)
{
    for (const size_t length : {254u, 255u})
    {
        const ScratchClassesRoot registry;
        registry.Register(CompleteDecoder(L"a-first", L".first"));
        registry.Register(CompleteDecoder(L"m" + std::wstring(length - 1, L'x'), L".long"));
        const std::string list = ListFromACopy();
        EXPECT_EQ(ExtensionListFault(list.c_str()), "") << list;
        EXPECT_NE(list.find("first"), std::string::npos) << length;
        EXPECT_EQ(list.find("long") != std::string::npos, length == 254) << length << ": " << list;
    }
}

// Many decoders: every one is read, and the list stays sorted and free of repeats.
TEST(HostileRegistry, ThousandsOfDecoders)
{
    constexpr int decoderCount = 10'000;
    const ScratchClassesRoot registry;
    for (int decoder = 0; decoder < decoderCount; ++decoder)
    {
        const std::wstring number = std::to_wstring(decoder);
        registry.Register(CompleteDecoder(L"decoder-" + number, L".e" + number + L",.JPG,.shared"));
    }
    const std::string list = ListFromACopy();
    EXPECT_EQ(ExtensionListFault(list.c_str()), "");
    // e0..eN-1, shared, and the seven built-in extensions.
    EXPECT_EQ(std::count(list.begin(), list.end(), ',') + 1, decoderCount + 1 + 7);
}

} // namespace
