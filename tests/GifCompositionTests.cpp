// A frame of a GIF animation comes back as the picture a viewer shows: the logical screen
// after frames 0 to k were drawn in order, each at its place, clipped to the screen, with
// its transparent index showing what lies under it and the frame before it disposed of.
// Each case is a GIF written byte by byte with every frame's expected picture written
// out as rows of colour letters (see support/Animations.h for the letters); nothing here
// composes a frame a second way. As in a browser, the screen starts transparent and
// disposal 2 makes a rectangle transparent again; the composed frame then goes over the
// background (white, or the settings' colour) as any frame with alpha does, and with raw
// transparency its transparent pixels keep the GIF's background colour. A still GIF that
// covers its screen is not composed: its transparent index shows the background as well.
// With raw frames and raw transparency asked for, every frame is bare WIC's own.

#include "hosting/ComApartment.h"
#include "hosting/ImageDataCall.h"
#include "support/Animations.h"
#include "support/BareWicBytes.h"
#include "support/CaseNames.h"
#include "support/FailureMessages.h"
#include "support/PixelsMatch.h"
#include "support/PluginCopy.h"
#include "support/PlatformProbes.h"
#include "support/ViewerFrames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Tesmo::Tests;
using namespace Tesmo::PluginHost;

namespace
{

struct CompositionCase : NamedCase
{
    GifToEncode gif;
    std::vector<const char*> frames; // each frame's picture, rows of the screen's width
    const wchar_t* settings = nullptr; // none when null
};

// The screen's transparent parts over another background, or with their colours as
// stored: the GIF's background colour.
constexpr wchar_t overMagenta[] = L"[Frames]\r\nbackground=FF00FF\r\n";
constexpr wchar_t rawAlpha[] = L"[Frames]\r\ntransparency=raw\r\n";

// Frame 0 all red on a 4 x 3 screen, then a green 2 x 2 patch at the top left disposed of
// as the case says, then a blue 2 x 2 patch beside it.
CompositionCase Disposal(const char* label, unsigned int disposal, const char* lastFrame)
{
    return {{label},
            Animation(4, 3, {Patch(0, 0, 4, "000000000000"), Patch(0, 0, 2, "1111", GifControl{disposal}),
                             Patch(2, 1, 2, "2222")}),
            {"RRRR" "RRRR" "RRRR", "GGRR" "GGRR" "RRRR", lastFrame}};
}

CompositionCase WithGlobalTable(CompositionCase testCase, std::vector<GifColour> colours, unsigned char background)
{
    testCase.gif.globalColours = std::move(colours);
    testCase.gif.backgroundIndex = background;
    return testCase;
}

GifImage WithLocalTable(GifImage image)
{
    image.localColours = standardLocalColours;
    return image;
}

GifImage Interlaced(GifImage image)
{
    image.interlaced = true;
    return image;
}

constexpr GifControl transparentZero{0, true, 0};

const CompositionCase compositionCases[] = {
    {{"PatchAtAnOffset"},
     Animation(4, 3, {Patch(0, 0, 4, "000000000000"), Patch(2, 1, 2, "1221")}),
     {"RRRR" "RRRR" "RRRR", "RRRR" "RRGB" "RRBG"}},
    Disposal("DisposalNone", 0, "GGRR" "GGBB" "RRBB"),
    Disposal("DisposalLeave", 1, "GGRR" "GGBB" "RRBB"),
    Disposal("DisposalRestoreBackground", 2, "WWRR" "WWBB" "RRBB"),
    Disposal("DisposalRestorePrevious", 3, "RRRR" "RRBB" "RRBB"),
    Disposal("DisposalUndefinedLeaves", 5, "GGRR" "GGBB" "RRBB"),
    // The second frame covers the screen but is not opaque: the first shows through it.
    {{"TransparencyOverEarlierFrames"},
     Animation(4, 3, {Patch(0, 0, 4, "111111111111"), Patch(0, 0, 4, "220003300002", transparentZero)}),
     {"GGGG" "GGGG" "GGGG", "BBGG" "GYYG" "GGGB"}},
    // An opaque frame covering the screen, restored away before the next one.
    {{"CoveringFrameRestoredAway"},
     Animation(4, 3, {Patch(0, 0, 4, "000000000000"), Patch(0, 0, 4, "111111111111", GifControl{3}),
                      Patch(1, 1, 1, "2")}),
     {"RRRR" "RRRR" "RRRR", "GGGG" "GGGG" "GGGG", "RRRR" "RBRR" "RRRR"}},
    // The screen starts transparent: frame 0's transparent pixels show the background of
    // the settings (white by default), and raw alpha shows the GIF's background colour.
    {{"TransparentFirstFrameOverWhite"},
     Animation(4, 3, {Patch(0, 0, 4, "012012002001", transparentZero), Patch(3, 2, 1, "2")}),
     {"WGBW" "GBWW" "BWWG", "WGBW" "GBWW" "BWWB"}},
    {{"TransparentFirstFrameOverBackgroundSetting"},
     Animation(4, 3, {Patch(0, 0, 4, "012012002001", transparentZero), Patch(3, 2, 1, "2")}),
     {"MGBM" "GBMM" "BMMG", "MGBM" "GBMM" "BMMB"},
     overMagenta},
    {{"TransparentFirstFrameRawAlpha"},
     Animation(4, 3, {Patch(0, 0, 4, "012012002001", transparentZero), Patch(3, 2, 1, "2")}),
     {"YGBY" "GBYY" "BYYG", "YGBY" "GBYY" "BYYB"},
     rawAlpha},
    {{"FirstFrameNotCoveringOverWhite"},
     Animation(4, 3, {Patch(1, 1, 2, "12"), Patch(0, 0, 1, "0")}),
     {"WWWW" "WGBW" "WWWW", "RWWW" "WGBW" "WWWW"}},
    {{"FirstFrameNotCoveringOverBackgroundSetting"},
     Animation(4, 3, {Patch(1, 1, 2, "12"), Patch(0, 0, 1, "0")}),
     {"MMMM" "MGBM" "MMMM", "RMMM" "MGBM" "MMMM"},
     overMagenta},
    // Disposal 2 makes its rectangle transparent again, not the background colour.
    {{"DisposalRestoreBackgroundOverTransparentScreen"},
     Animation(4, 3, {Patch(0, 0, 2, "0000", GifControl{2}), Patch(3, 2, 1, "2")}),
     {"RRWW" "RRWW" "WWWW", "WWWW" "WWWW" "WWWB"}},
    {{"DisposalRestoreBackgroundOverBackgroundSetting"},
     Animation(4, 3, {Patch(0, 0, 2, "0000", GifControl{2}), Patch(3, 2, 1, "2")}),
     {"RRMM" "RRMM" "MMMM", "MMMM" "MMMM" "MMMB"},
     overMagenta},
    {{"DisposalRestoreBackgroundRawAlpha"},
     Animation(4, 3, {Patch(0, 0, 2, "0000", GifControl{2}), Patch(3, 2, 1, "2")}),
     {"RRYY" "RRYY" "YYYY", "YYYY" "YYYY" "YYYB"},
     rawAlpha},
    {{"LocalColourTable"},
     Animation(4, 3, {Patch(0, 0, 4, "000000000000"), WithLocalTable(Patch(1, 0, 2, "012310"))}),
     {"RRRR" "RRRR" "RRRR", "RCMR" "RWKR" "RMCR"}},
    // Stored in the order rows 0, 4, 2, then 1, 3, 5; WIC hands them over in place.
    {{"InterlacedPatch"},
     Animation(2, 6, {Patch(0, 0, 2, "000000000000"), Interlaced(Patch(1, 0, 1, "012312"))}),
     {"RR" "RR" "RR" "RR" "RR" "RR", "RR" "RG" "RB" "RY" "RG" "RB"}},
    {{"FramesPartlyAndWhollyOutsideTheScreen"},
     Animation(4, 3, {Patch(0, 0, 4, "000000000000"), Patch(3, 2, 2, "1221"), Patch(5, 4, 1, "2")}),
     {"RRRR" "RRRR" "RRRR", "RRRR" "RRRR" "RRRG", "RRRR" "RRRR" "RRRG"}},
    {{"SingleImageSmallerThanItsScreen"}, Animation(4, 3, {Patch(1, 1, 2, "12")}), {"WWWW" "WGBW" "WWWW"}},
    {{"StillImageCoveringItsScreenTransparentOverWhite"},
     Animation(4, 3, {Patch(0, 0, 4, "012301230123", transparentZero)}),
     {"WGBY" "WGBY" "WGBY"}},
    // Disposal 3 on the first frame puts back the screen as it was before it: background.
    {{"DisposalRestorePreviousOnFirstFrame"},
     Animation(4, 3, {Patch(0, 0, 4, "000000000000", GifControl{3}), Patch(2, 2, 1, "2")}),
     {"RRRR" "RRRR" "RRRR", "WWWW" "WWWW" "WWBW"}},
    // Without a graphic control extension index 0 is drawn like any other.
    {{"FrameWithoutGraphicControlExtension"},
     Animation(4, 3, {Patch(0, 0, 4, "111111111111", transparentZero), Patch(0, 0, 2, "03", std::nullopt)}),
     {"GGGG" "GGGG" "GGGG", "RYGG" "GGGG" "GGGG"}},
    WithGlobalTable({{"BackgroundIndexPastTheGlobalTableIsBlack"}, Animation(4, 3, {Patch(1, 1, 2, "12")}),
                     {"KKKK" "KGBK" "KKKK"}, rawAlpha},
                    standardGlobalColours, 9),
    WithGlobalTable({{"NoGlobalTableMeansBlackBackground"},
                     Animation(4, 3, {WithLocalTable(Patch(1, 1, 2, "01")), WithLocalTable(Patch(0, 0, 1, "2"))}),
                     {"KKKK" "KCMK" "KKKK", "WKKK" "KCMK" "KKKK"}, rawAlpha},
                    {}, 0),
};

using GifCompositionTest = testing::TestWithParam<CompositionCase>;

TEST_P(GifCompositionTest, EveryFrameIsTheScreenAViewerShows)
{
    const CompositionCase& testCase = GetParam();
    ExpectLetterFrames(L"animation.gif", EncodeGif(testCase.gif), testCase.gif.width, testCase.frames,
                       testCase.settings);
}

INSTANTIATE_TEST_SUITE_P(Cases, GifCompositionTest, testing::ValuesIn(compositionCases), CaseName());

struct RawCase : NamedCase
{
    GifToEncode gif;
    const wchar_t* settings; // none when null
};

// A still GIF whose image covers its screen is already the picture; and "raw" in the
// settings, in any letter case, gives every frame as WIC hands it over. Raw transparency
// keeps the stored colours under a transparent index.
const RawCase rawCases[] = {
    {{"StillImageCoveringItsScreen"},
     Animation(4, 3, {Patch(0, 0, 4, "012301230123", transparentZero)}),
     L"[Frames]\r\ntransparency=raw\r\n"},
    {{"RawFramesBySettings"}, PatchAnimation(), L"[Frames]\r\ngif=RaW\r\ntransparency=RAW\r\n"},
};

using GifRawFrameTest = testing::TestWithParam<RawCase>;

TEST_P(GifRawFrameTest, FramesAreBareWicsOwn)
{
    const RawCase& testCase = GetParam();
    const ScratchFolder folder;
    const std::wstring path = folder.Write(L"raw.gif", EncodeGif(testCase.gif));
    PluginCopy plugin;
    if (testCase.settings != nullptr)
    {
        plugin.WriteSettings(testCase.settings);
    }
    const ComApartment com(COINIT_APARTMENTTHREADED); // bare WIC's, on this thread
    for (unsigned int frame = 0; frame < testCase.gif.images.size(); ++frame)
    {
        const ImageDataCall call(plugin.Load(), AnsiPath(path), frame);
        ASSERT_EQ(call.result, 0) << "frame " << frame;
        EXPECT_EQ(call.width, testCase.gif.images[frame].width) << "frame " << frame;
        EXPECT_EQ(call.height, testCase.gif.images[frame].height) << "frame " << frame;
        EXPECT_EQ(call.Bytes(), BareWicBytes(path, frame)) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GifRawFrameTest, testing::ValuesIn(rawCases), CaseName());

// Two thousand 1 x 1 frames, each at a pixel of its own, left in place: the last frame
// holds all of them. Frame j sits at (j % 50, j / 50) in colour j % 3.
TEST(GifCompositionLongAnimation, LastOfTwoThousandFramesHoldsThemAll)
{
    constexpr unsigned int width = 50;
    constexpr unsigned int frames = 2000;
    std::vector<GifImage> images;
    for (unsigned int j = 0; j < frames; ++j)
    {
        images.push_back(Patch(j % width, j / width, 1, std::string(1, static_cast<char>('0' + j % 3)).c_str()));
    }
    const ScratchFolder folder;
    const std::string path = AnsiPath(folder.Write(L"long.gif", EncodeGif(Animation(width, frames / width, images))));
    PluginCopy plugin;

    const ImageDataCall call(plugin.Load(), path, frames - 1);

    ASSERT_EQ(call.result, 0);
    EXPECT_EQ(call.frameCount, frames);
    std::string letters;
    for (unsigned int j = 0; j < frames; ++j)
    {
        letters += "RGB"[j % 3];
    }
    EXPECT_TRUE(PixelsMatch(call.Bytes(), Letters(width, letters.c_str())));
}

// Wine's decoder reads every frame when it opens a GIF and refuses one cut short
// anywhere inside its image data; Windows' opens it and decodes the frames before the cut.
TEST(GifCompositionTruncated, FramesBeforeTheCutComeOutWholeWhereWicOpensTheFile)
{
    const CompositionCase& source = compositionCases[0];
    const std::string file = EncodeGif(source.gif);
    const ScratchFolder folder;
    const std::string path = AnsiPath(folder.Write(L"cut.gif", file.substr(0, file.size() - 5)));
    PluginCopy plugin;

    const ImageDataCall first(plugin.Load(), path, 0);

    if (RunningUnderWine())
    {
        EXPECT_EQ(first.result, -1);
        EXPECT_EQ(first.messages, std::vector<std::wstring>{openFailed});
        return;
    }
    ASSERT_EQ(first.result, 0);
    EXPECT_TRUE(PixelsMatch(first.Bytes(), Letters(source.gif.width, source.frames[0])));
}

} // namespace
