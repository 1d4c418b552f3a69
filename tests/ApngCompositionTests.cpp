// A frame of an animated PNG comes back as the canvas after frames 0 to k were drawn in
// order on a transparent canvas, each at its offset with its blend_op and the frame before
// it disposed of, then through the colour profile and over the background like any frame
// with alpha. Each case is an APNG written byte by byte with every frame's expected picture
// as literal rows of colour letters (support/Animations.h; a transparent pixel shows white)
// or literal bytes. A file that is no valid animation comes back exactly as WIC gives it:
// its default image, one frame.

#include "hosting/ImageDataCall.h"
#include "support/Animations.h"
#include "support/FailureMessages.h"
#include "support/PixelsMatch.h"
#include "support/ProfiledFiles.h"
#include "support/ViewerFrames.h"

#include <cstdint>
#include <functional>

using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

struct ApngCase : NamedCase
{
    ApngToEncode apng;
    std::vector<const char*> frames; // each frame's picture, rows of the canvas's width
    const wchar_t* settings = nullptr;
};

constexpr unsigned char none = 0, background = 1, previous = 2; // dispose_op
constexpr unsigned char source = 0, over = 1;                     // blend_op
constexpr const char* hiddenBlack = "KKKKKK";                      // a hidden default image, 3 x 2

// A red canvas, a green pixel beside a transparent one at the top left with the dispose_op
// and blend_op of the case, then a blue pixel at the bottom right.
ApngCase DisposeBlend(const char* label, unsigned char dispose, unsigned char blend, const char* second,
                      const char* third)
{
    return {{label},
            LetterAnimation(3, hiddenBlack, false,
                            {LetterFrame(0, 0, 3, "RRRRRR"), LetterFrame(0, 0, 2, "G.", dispose, blend),
                             LetterFrame(2, 1, 1, "B")}),
            {"RRRRRR", second, third}};
}

const ApngCase letterCases[] = {
    DisposeBlend("NoneSource", none, source, "GWRRRR", "GWRRRB"),
    DisposeBlend("NoneOver", none, over, "GRRRRR", "GRRRRB"),
    DisposeBlend("BackgroundSource", background, source, "GWRRRR", "WWRRRB"),
    DisposeBlend("BackgroundOver", background, over, "GRRRRR", "WWRRRB"),
    DisposeBlend("PreviousSource", previous, source, "GWRRRR", "RRRRRB"),
    DisposeBlend("PreviousOver", previous, over, "GRRRRR", "RRRRRB"),
    {{"ShownDefaultImageIsFrameZero"},
     LetterAnimation(3, "YYYYYY", true, {LetterFrame(0, 0, 1, "Y"), LetterFrame(1, 1, 2, "GB")}),
     {"YYYYYY", "YYYYGB"}},
    {{"FirstFrameNotCoveringTheCanvas"},
     LetterAnimation(3, hiddenBlack, false, {LetterFrame(1, 0, 2, "GB"), LetterFrame(0, 1, 1, "R")}),
     {"WGBWWW", "WGBRWW"}},
    {{"FirstFrameNotCoveringOverBackgroundSetting"},
     LetterAnimation(3, hiddenBlack, false, {LetterFrame(1, 0, 2, "GB"), LetterFrame(0, 1, 1, "R")}),
     {"MGBMMM", "MGBRMM"},
     L"[Frames]\r\nbackground=ff00ff\r\n"},
    // Raw alpha: the canvas starts transparent black.
    {{"FirstFrameNotCoveringRawAlpha"},
     LetterAnimation(3, hiddenBlack, false, {LetterFrame(1, 0, 2, "GB"), LetterFrame(0, 1, 1, "R")}),
     {"KGBKKK", "KGBRKK"},
     L"[Frames]\r\ntransparency=raw\r\n"},
    {{"PreviousOnFirstFrameClears"},
     LetterAnimation(3, hiddenBlack, false, {LetterFrame(0, 0, 3, "RRRRRR", previous), LetterFrame(1, 1, 1, "B", none, over)}),
     {"RRRRRR", "WWWWBW"}},
    {{"CoveringFrameRestoredAway"},
     LetterAnimation(3, hiddenBlack, false,
                     {LetterFrame(0, 0, 3, "RRRRRR"), LetterFrame(0, 0, 3, "GGGGGG", previous), LetterFrame(0, 0, 1, "B")}),
     {"RRRRRR", "GGGGGG", "BRRRRR"}},
    // A covering frame with blend source replaces the canvas, alpha and all.
    {{"CoveringSourceFrameReplacesAll"},
     LetterAnimation(3, hiddenBlack, false,
                     {LetterFrame(0, 0, 3, "RRRRRR"), LetterFrame(0, 0, 1, "G", none, over),
                      LetterFrame(0, 0, 3, "..BBBB"), LetterFrame(2, 0, 1, "Y", none, over)}),
     {"RRRRRR", "GRRRRR", "WWBBBB", "WWYBBB"}},
    {{"OverOnClearedCanvas"},
     LetterAnimation(3, hiddenBlack, false, {LetterFrame(0, 0, 3, "RRRRRR", background), LetterFrame(0, 0, 3, ".GGGGG", none, over)}),
     {"RRRRRR", "WGGGGG"}},
    {{"RawBySettings"},
     LetterAnimation(3, hiddenBlack, false, {LetterFrame(0, 0, 3, "RRRRRR"), LetterFrame(0, 0, 1, "G")}),
     {hiddenBlack},
     L"[Frames]\r\napng=RaW\r\n"},
};

using ApngCompositionTest = testing::TestWithParam<ApngCase>;

TEST_P(ApngCompositionTest, EveryFrameIsTheCanvasAViewerShows)
{
    const ApngCase& testCase = GetParam();
    ExpectLetterFrames(L"animation.png", EncodeApng(testCase.apng), testCase.apng.defaultImage.width, testCase.frames,
                       testCase.settings);
}

INSTANTIATE_TEST_SUITE_P(Cases, ApngCompositionTest, testing::ValuesIn(letterCases), CaseName());

// An animation whose hidden default image is the canvas, frames of its layout on it.
std::string Animated(PngImage canvas, std::vector<ApngFrameToEncode> frames)
{
    return EncodeApng({std::move(canvas), false, std::move(frames)});
}

// Blend over mixes straight alpha: a frame at alpha 128 over an opaque pixel leaves it
// opaque, over one at alpha 128 makes it 192.
std::string HalfTransparentOver()
{
    const PngImage canvas = RowImage(PngColourType::Rgba, 8, std::vector<unsigned int>(8, 0));
    return Animated(canvas, {{0, 0, RowImage(PngColourType::Rgba, 8, {200, 100, 50, 255, 0, 0, 255, 128})},
                             {0, 0, RowImage(PngColourType::Rgba, 8, {0, 255, 0, 128, 0, 255, 0, 128}), none, over}});
}

// Red, green at alpha 0 and blue at alpha 128 in the palette.
std::string PaletteWithTransparency()
{
    PngImage canvas = RowImage(PngColourType::Palette, 8, {0, 0});
    canvas.palette = std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 9);
    canvas.transparency = std::string("\xFF\x00\x80", 3);
    return Animated(canvas, {{0, 0, RowImage(PngColourType::Palette, 8, {0, 1})},
                             {0, 0, RowImage(PngColourType::Palette, 8, {2, 2}), none, over}});
}

std::string GreyWithAlpha()
{
    const PngImage canvas = RowImage(PngColourType::GreyAlpha, 8, {0, 0, 0, 0});
    return Animated(canvas, {{0, 0, RowImage(PngColourType::GreyAlpha, 8, {100, 255, 50, 0})},
                             {1, 0, RowImage(PngColourType::GreyAlpha, 8, {200, 128}), none, over}});
}

std::string SixteenBit()
{
    const PngImage canvas = RowImage(PngColourType::Rgba, 16, {0, 0, 0, 0});
    return Animated(canvas, {{0, 0, RowImage(PngColourType::Rgba, 16, {51400, 25700, 12850, 65535})},
                             {0, 0, RowImage(PngColourType::Rgba, 16, {0, 65535, 0, 32896}), none, over}});
}

// The file's profile swaps red and green, for every frame.
std::string Profiled()
{
    ApngToEncode apng = LetterAnimation(2, "KK", false, {LetterFrame(0, 0, 2, "RG"), LetterFrame(1, 0, 1, "B")});
    apng.defaultImage.profile = PngProfile{"ICC profile", SwappedRedAndGreenProfile()};
    return EncodeApng(apng);
}

// gAMA 1.0 without a profile: the samples are linear light, shown in sRGB.
std::string LinearGamma()
{
    PngImage canvas = RowImage(PngColourType::Rgba, 8, std::vector<unsigned int>(8, 0));
    canvas.gamma = 100000;
    return Animated(canvas, {{0, 0, RowImage(PngColourType::Rgba, 8, {128, 64, 200, 255, 128, 64, 200, 255})},
                             {1, 0, RowImage(PngColourType::Rgba, 8, {255, 128, 64, 255})}});
}

const ViewerCase sampleCases[] = {
    {{"HalfTransparentOver"}, HalfTransparentOver, {{200, 100, 50, 127, 127, 255}, {100, 178, 25, 63, 191, 127}}},
    {{"PaletteWithTransparency"}, PaletteWithTransparency, {{255, 0, 0, 255, 255, 255}, {127, 0, 128, 127, 127, 255}}},
    {{"GreyWithAlpha"}, GreyWithAlpha, {{100, 100, 100, 255, 255, 255}, {100, 100, 100, 227, 227, 227}}},
    {{"SixteenBit"}, SixteenBit, {{200, 100, 50}, {100, 178, 25}}},
    {{"HalfTransparentOverBackgroundSetting"},
     HalfTransparentOver,
     {{200, 100, 50, 0, 0, 128}, {100, 178, 25, 0, 128, 64}},
     L"[Frames]\r\nbackground=000000\r\n"},
    {{"ProfiledAnimation"}, Profiled, {{0, 255, 0, 255, 0, 0}, {0, 255, 0, 0, 0, 255}}, nullptr, 1},
    {{"LinearGammaAnimation"}, LinearGamma, {{188, 137, 229, 188, 137, 229}, {188, 137, 229, 255, 188, 137}}, nullptr, 1},
};

using ApngSampleTest = testing::TestWithParam<ViewerCase>;

TEST_P(ApngSampleTest, FrameIsThePictureAViewerShows)
{
    ExpectViewerFrames(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, ApngSampleTest, testing::ValuesIn(sampleCases), CaseName());

// Broken animations, each made from a valid one by one change; in the chunk list:
//   0 IHDR, 1 acTL, 2 IDAT (the hidden default image), 3 fcTL 0, 4 fdAT 1, 5 fcTL 2, 6 fdAT 3,
//   7 fcTL 4, 8 fdAT 5, 9 IEND.
using Chunks = std::vector<PngChunkToWrite>;

Chunks ValidChunks()
{
    return ApngChunks(LetterAnimation(3, hiddenBlack, false,
                                      {LetterFrame(0, 0, 3, "RRRRRR"), LetterFrame(1, 0, 2, "GB"), LetterFrame(0, 1, 1, "Y")}));
}

void PutNumber(std::string& data, std::size_t at, std::uint32_t value)
{
    for (std::size_t index = 0; index < 4; ++index)
    {
        data[at + index] = static_cast<char>(value >> (24 - 8 * index));
    }
}

// The file with one number of one chunk's data changed.
std::string WithNumber(std::size_t chunk, std::size_t at, std::uint32_t value)
{
    Chunks chunks = ValidChunks();
    PutNumber(chunks[chunk].data, at, value);
    return WritePngChunks(chunks);
}

// The written file with the bytes at the last fdAT's type plus offset changed.
std::string WithBytesAtLastFrameData(std::ptrdiff_t offset, const std::string& bytes)
{
    std::string file = WritePngChunks(ValidChunks());
    file.replace(file.rfind("fdAT") + offset, bytes.size(), bytes);
    return file;
}

struct BrokenCase : NamedCase
{
    std::string (*file)();
};

const BrokenCase brokenCases[] = {
    {{"SequenceGap"},
     [] {
         Chunks chunks = ValidChunks();
         for (std::uint32_t chunk = 6; chunk <= 8; ++chunk)
         {
             PutNumber(chunks[chunk].data, 0, chunk - 2);
         }
         return WritePngChunks(chunks);
     }},
    {{"RepeatedSequenceNumber"}, [] { return WithNumber(6, 0, 2); }},
    {{"FrameDataBeforeItsControl"},
     [] {
         Chunks chunks = ValidChunks();
         std::swap(chunks[5], chunks[6]);
         return WritePngChunks(chunks);
     }},
    {{"MissingFrameData"},
     [] {
         Chunks chunks = ValidChunks();
         chunks.erase(chunks.begin() + 6);
         PutNumber(chunks[6].data, 0, 3);
         PutNumber(chunks[7].data, 0, 4);
         return WritePngChunks(chunks);
     }},
    {{"NumFramesTooHigh"}, [] { return WithNumber(1, 0, 4); }},
    {{"NumFramesTooLow"}, [] { return WithNumber(1, 0, 2); }},
    {{"NumFramesHuge"}, [] { return WithNumber(1, 0, 0xFFFFFFFF); }},
    {{"FrameOutsideTheCanvas"}, [] { return WithNumber(5, 12, 2); }},
    {{"AnimationControlAfterTheImageData"},
     [] {
         Chunks chunks = ValidChunks();
         std::swap(chunks[1], chunks[2]);
         return WritePngChunks(chunks);
     }},
    {{"BadCrc"}, [] { return WithBytesAtLastFrameData(8, "\x01"); }},
    {{"LengthPastTheEndOfTheFile"}, [] { return WithBytesAtLastFrameData(-4, std::string("\x00\x10\x00\x00", 4)); }},
    // Whole chunks with their CRCs right, but the frame's data is no zlib stream.
    {{"FrameWicRefuses"},
     [] {
         Chunks chunks = ValidChunks();
         chunks[4].data.replace(4, std::string::npos, "not a zlib stream");
         return WritePngChunks(chunks);
     }},
};

using ApngBrokenTest = testing::TestWithParam<BrokenCase>;

TEST_P(ApngBrokenTest, FileIsTheDefaultImageAlone)
{
    const ScratchFolder folder;
    const std::wstring path = folder.Write(L"broken.png", GetParam().file());
    PluginCopy plugin;
    const ComApartment com(COINIT_APARTMENTTHREADED); // bare WIC's, on this thread

    const ImageDataCall first(plugin.Load(), AnsiPath(path), 0);
    ASSERT_EQ(first.result, 0);
    EXPECT_EQ(first.frameCount, 1u);
    EXPECT_EQ(first.Bytes(), BareWicBytes(path, 0));
    EXPECT_TRUE(PixelsMatch(first.Bytes(), Letters(3, hiddenBlack)));

    const ImageDataCall second(plugin.Load(), AnsiPath(path), 1);
    EXPECT_EQ(second.result, -1);
    EXPECT_EQ(second.frameCount, 1u);
    EXPECT_EQ(second.messages, std::vector<std::wstring>{frameFailed});
}

INSTANTIATE_TEST_SUITE_P(Cases, ApngBrokenTest, testing::ValuesIn(brokenCases), CaseName());

} // namespace
