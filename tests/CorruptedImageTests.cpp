// Damaged image files, derived from valid ones of every format by fixed-seed mutations:
// cut short, bytes flipped, header fields set to 0, 1, their maximum and to sizes whose
// width x height x 3 wraps in 32 bits, counts and lengths that lie, and one format under
// another's name. Whatever the file holds, GetImageData answers 0 with a buffer of
// exactly width x height x 3 bytes, or -1 with the one message of the failing step and
// only the outputs of the steps before it, and every heap of the process stays intact.

#include "corruption/Outcomes.h"
#include "hosting/ComApartment.h"
#include "hosting/ImageDataCall.h"
#include "support/CaseNames.h"
#include "support/PluginCopy.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using namespace Tesmo::Tests;
using namespace Tesmo::Tests::Corruption;
using Tesmo::PluginHost::AnsiPath, Tesmo::PluginHost::ComApartment, Tesmo::PluginHost::ImageDataCall;

namespace
{

// Wine's own decoders crash on these (a read fault inside windowscodecs), which would end
// the process before the other cases ran; on Windows they run.
// - An icon whose DIB claims a height of 0x55555556: Wine's icon reader copies rows from
//   far outside the file's data (copy_pixels under BmpFrameDecode_CopyPixels, ReadIcoDib,
//   IcoDecoder_GetFrame).
const std::set<std::string> wineCrashes = {
    "IcoThreeImages, image 0 height (4 bytes at 62) = 0x55555556",
};

// Wine's TIFF decoder opens a page whose strip or Orientation tag claims a count far past
// the file (it trims or ignores such a tag); Wine's directory reader, which the plug-in
// asks for the Orientation tag, then allocates and reads every entry the count claims:
// 2^31 of them take it a second, 2^32 - 1 fourteen on the 64-bit build. Left out under
// Wine, so the corpus takes seconds rather than minutes; on Windows they run.
bool WineStallsOnTiffCount(const SourceImage& source, const std::string& bytes)
{
    if (source.fields != TiffFields)
    {
        return false;
    }
    Fields fields;
    TiffFields(fields, bytes);
    return std::any_of(fields.begin(), fields.end(), [&](const Field& field) {
        const bool countOfATagReadPastAWrongCount = field.name.ends_with("tag 273 count") ||
                                                   field.name.ends_with("tag 274 count") ||
                                                   field.name.ends_with("tag 279 count");
        return countOfATagReadPastAWrongCount && Read(bytes, field.offset, field.size, field.bigEndian) >= 1u << 24;
    });
}

// Wine's JPEG XR decoder (jxrlib) asserts what a damaged file breaks (the container's
// transformation tag 0xBC02 names one of the eight orientations; the codestream's planes
// agree), and a failed assertion aborts the process. A JPEG XR whose transformation is
// out of range or whose codestream (from tag 0xBCC0's offset) was changed is left out
// under Wine; cut short, or with its container damaged otherwise, it runs. On Windows all run.
bool WineAbortsOnJpegXr(const std::string& source, const std::string& bytes)
{
    // Whatever the file's name, WIC goes by this signature; a whole JPEG XR under another
    // format's name is undamaged.
    if (source.rfind("II\xBC", 0) != 0 || bytes.rfind("II\xBC", 0) != 0)
    {
        return false;
    }
    const auto valueOf = [](const std::string& file, std::string_view tag) {
        Fields fields;
        TiffFields(fields, file);
        const auto field = std::find_if(fields.begin(), fields.end(),
                                        [&](const Field& each) { return each.name.ends_with(tag); });
        return field == fields.end() ? 0u : Read(file, field->offset, field->size, field->bigEndian);
    };
    const std::size_t codestream = std::min<std::size_t>(valueOf(source, "tag 48320 value"), source.size());
    const std::size_t common = std::min(source.size(), bytes.size());
    return valueOf(bytes, "tag 48130 value") >= 8 ||
           (codestream < common && source.compare(codestream, common - codestream, bytes, codestream, common - codestream) != 0);
}

using CorruptedImageTest = testing::TestWithParam<SourceImage>;

TEST_P(CorruptedImageTest, EveryCallGivesADocumentedResultAndLeavesTheHeapsIntact)
{
    const SourceImage& source = GetParam();
    const std::vector<Mutation> mutations = Mutations(source);
    const std::string original = source.make();
    // Wine's icon decoder lets an index equal to the image count through, and the range
    // check is WIC's alone: an icon directory claiming no images still decodes frame 0.
    const bool indexPastCountPasses = RunningUnderWine() && source.fields == IcoFields;
    const ScratchFolder folder;
    const std::wstring path = folder / source.fileName;
    // The calls come as from a host's user-interface thread, in a single-threaded
    // apartment: nothing checked here depends on the thread's COM (the apartment tests see
    // to that), and each of the thousands of calls is spared starting COM and loading WIC
    // anew, two fifths of what it costs under Wine.
    const ComApartment com(COINIT_APARTMENTTHREADED);
    PluginCopy plugin;
    const auto& library = plugin.Load();
    ASSERT_TRUE(HeapsIntact());

    OutcomeReport report;
    for (const Mutation& mutation : mutations)
    {
        const std::string label = std::string(source.label) + ", " + mutation.label;
        if (RunningUnderWine() && (wineCrashes.count(label) != 0 || WineStallsOnTiffCount(source, mutation.bytes) ||
                                   WineAbortsOnJpegXr(original, mutation.bytes)))
        {
            report.CountCase(LeftOut);
            continue;
        }
        report.CountCase(mutation.kind);
        WriteFileBytes(path, mutation.bytes);
        std::vector<unsigned int> frames{0};
        for (std::size_t call = 0; call < frames.size(); ++call)
        {
            const std::string where = label + ", frame " + std::to_string(frames[call]);
            {
                const ImageDataCall result(library, AnsiPath(path), frames[call]);
                report.CountCall(call == 0 ? mutation.kind : LastFrame,
                                 CheckOutputs(result, frames[call], indexPastCountPasses, where));
                if (call == 0 && result.frameCount >= 2 && result.frameCount <= 64)
                {
                    frames.push_back(result.frameCount - 1);
                    report.CountCase(LastFrame);
                }
            }
            ASSERT_TRUE(HeapsIntact()) << where;
        }
    }

    const std::string text = report.Text(source.label, mutations.size());
    std::cout << text << "\n";
    RecordProperty("outcomes", text);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CorruptedImageTest, testing::ValuesIn(SourceImages()), CaseName());

} // namespace
