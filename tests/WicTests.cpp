#include "support/ScratchClassesRoot.h"

#include "utilities/Wic.h"

#include <gtest/gtest.h>

#include <windows.h>

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

} // namespace
