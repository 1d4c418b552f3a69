// Damaged image files, derived from valid ones of every format by fixed-seed mutations:
// cut short, bytes flipped, header fields set to 0, 1, their maximum and to sizes whose
// width x height x 3 wraps in 32 bits, counts and lengths that lie, and one format under
// another's name. Whatever the file holds, GetImageData answers 0 with a buffer of
// exactly width x height x 3 bytes, or -1 with the one message of the failing step and
// only the outputs of the steps before it, and every heap of the process stays intact.

#include "host/ImageDataCall.h"
#include "support/PluginCopy.h"
#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace Tesmo::Tests;
using Tesmo::PluginHost::AnsiPath, Tesmo::PluginHost::EncodeWithWic, Tesmo::PluginHost::ImageDataCall;

namespace
{

// Reads beyond the end as 0 and writes nothing there, so damaged files end every walk.
std::uint32_t Read(const std::string& bytes, std::size_t at, unsigned int size, bool bigEndian = false)
{
    std::uint32_t value = 0;
    for (unsigned int i = 0; i < size && at + i < bytes.size(); ++i)
    {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << 8 * (bigEndian ? size - 1 - i : i);
    }
    return value;
}

void Write(std::string& bytes, std::size_t at, unsigned int size, bool bigEndian, std::uint32_t value)
{
    for (unsigned int i = 0; i < size && at + i < bytes.size(); ++i)
    {
        bytes[at + i] = static_cast<char>(value >> 8 * (bigEndian ? size - 1 - i : i));
    }
}

std::string Hex(std::uint32_t value)
{
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << value;
    return text.str();
}

// A header field, found by walking the file's structure the way its decoder does.
struct Field
{
    std::string name;
    std::size_t offset;
    unsigned int size;
    bool bigEndian;
};
using Fields = std::vector<Field>;

struct FieldAt
{
    const char* name;
    std::size_t offset;
    unsigned int size;
};

void Add(Fields& fields, const std::string& prefix, std::size_t base, bool bigEndian,
         std::initializer_list<FieldAt> table)
{
    for (const FieldAt& field : table)
    {
        fields.push_back({prefix + field.name, base + field.offset, field.size, bigEndian});
    }
}

void BmpInfoFields(Fields& fields, const std::string& prefix, std::size_t at)
{
    Add(fields, prefix, at, false,
        {{"header size", 0, 4}, {"width", 4, 4}, {"height", 8, 4}, {"planes", 12, 2}, {"bit count", 14, 2},
         {"compression", 16, 4}, {"image size", 20, 4}, {"colours used", 32, 4}});
}

void BmpFields(Fields& fields, const std::string&)
{
    Add(fields, "", 0, false, {{"file size", 2, 4}, {"pixel offset", 10, 4}});
    BmpInfoFields(fields, "", 14);
}

bool HoldsPng(const std::string& bytes, std::size_t at)
{
    return at < bytes.size() && bytes.compare(at, 4, "\x89PNG") == 0;
}

void PngFieldsAt(Fields& fields, const std::string& prefix, const std::string& bytes, std::size_t at)
{
    for (std::size_t chunk = at + 8; chunk + 12 <= bytes.size(); chunk += 12 + Read(bytes, chunk, 4, true))
    {
        const std::string type = bytes.substr(chunk + 4, 4);
        Add(fields, prefix + type + " ", chunk, true, {{"length", 0, 4}});
        if (type == "IHDR")
        {
            Add(fields, prefix, chunk, true,
                {{"width", 8, 4}, {"height", 12, 4}, {"bit depth", 16, 1}, {"colour type", 17, 1},
                 {"interlace", 20, 1}});
        }
        if (type == "IEND")
        {
            break;
        }
    }
}

void PngFields(Fields& fields, const std::string& bytes)
{
    PngFieldsAt(fields, "", bytes, 0);
}

std::size_t GifColourTableSize(const std::string& bytes, std::size_t flagsAt)
{
    const std::uint32_t flags = Read(bytes, flagsAt, 1);
    return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0;
}

void GifFields(Fields& fields, const std::string& bytes)
{
    Add(fields, "screen ", 0, false, {{"width", 6, 2}, {"height", 8, 2}, {"flags", 10, 1}});
    int frame = 0;
    for (std::size_t at = 13 + GifColourTableSize(bytes, 10); at < bytes.size(); ++at)
    {
        if (bytes[at] == 0x2C)
        {
            const std::string prefix = "frame " + std::to_string(frame++) + " ";
            Add(fields, prefix, at, false,
                {{"left", 1, 2}, {"top", 3, 2}, {"width", 5, 2}, {"height", 7, 2}, {"flags", 9, 1}});
            at += 10 + GifColourTableSize(bytes, at + 9);
            Add(fields, prefix, at, false, {{"code size", 0, 1}, {"first block length", 1, 1}});
            at += 1;
        }
        else if (bytes[at] == 0x21)
        {
            Add(fields, "extension " + Hex(Read(bytes, at + 1, 1)) + " ", at, false, {{"block length", 2, 1}});
            at += 2;
        }
        else
        {
            break; // the trailer
        }
        while (at < bytes.size() && bytes[at] != 0)
        {
            at += 1 + Read(bytes, at, 1);
        }
    }
}

void TiffFields(Fields& fields, const std::string& bytes)
{
    const bool big = bytes[0] == 'M';
    Add(fields, "", 0, big, {{"first page offset", 4, 4}});
    std::size_t page = Read(bytes, 4, 4, big);
    for (int index = 0; page != 0 && page < bytes.size() && index < 16; ++index)
    {
        const std::string prefix = "page " + std::to_string(index) + " ";
        const std::uint32_t count = Read(bytes, page, 2, big);
        Add(fields, prefix, page, big, {{"entry count", 0, 2}});
        for (std::size_t entry = page + 2; entry < page + 2 + 12 * count; entry += 12)
        {
            // A single SHORT sits in the first two bytes of the value slot.
            const bool oneShort = Read(bytes, entry + 2, 2, big) == 3 && Read(bytes, entry + 4, 4, big) == 1;
            Add(fields, prefix + "tag " + std::to_string(Read(bytes, entry, 2, big)) + " ", entry, big,
                {{"count", 4, 4}, {"value", 8, oneShort ? 2u : 4u}});
        }
        Add(fields, prefix, page + 2 + 12 * count, big, {{"next page offset", 0, 4}});
        page = Read(bytes, page + 2 + 12 * count, 4, big);
    }
}

void JpegFields(Fields& fields, const std::string& bytes)
{
    for (std::size_t at = 2; at + 4 <= bytes.size() && bytes[at] == '\xFF'; at += 2 + Read(bytes, at + 2, 2, true))
    {
        const std::uint32_t marker = Read(bytes, at + 1, 1);
        Add(fields, "marker " + Hex(marker) + " ", at, true, {{"length", 2, 2}});
        if (marker >= 0xC0 && marker <= 0xC2)
        {
            Add(fields, "frame ", at, true,
                {{"precision", 4, 1}, {"height", 5, 2}, {"width", 7, 2}, {"components", 9, 1}});
            for (std::uint32_t component = 0; component < Read(bytes, at + 9, 1); ++component)
            {
                Add(fields, "component " + std::to_string(component) + " ", at + 3 * component, true,
                    {{"sampling", 11, 1}, {"table", 12, 1}});
            }
        }
        if (marker == 0xDA)
        {
            Add(fields, "scan ", at, true, {{"components", 4, 1}});
            break; // entropy-coded data follows
        }
    }
}

void IcoFields(Fields& fields, const std::string& bytes)
{
    Add(fields, "", 0, false, {{"image count", 4, 2}});
    for (std::uint32_t image = 0; image < Read(bytes, 4, 2); ++image)
    {
        const std::string prefix = "image " + std::to_string(image) + " ";
        Add(fields, prefix + "entry ", 6 + 16 * image, false,
            {{"width", 0, 1}, {"height", 1, 1}, {"colours", 2, 1}, {"planes", 4, 2}, {"bit count", 6, 2},
             {"byte count", 8, 4}, {"offset", 12, 4}});
        const std::uint32_t data = Read(bytes, 6 + 16 * image + 12, 4);
        if (HoldsPng(bytes, data))
        {
            PngFieldsAt(fields, prefix, bytes, data);
        }
        else
        {
            BmpInfoFields(fields, prefix, data);
        }
    }
}

struct Fixture
{
    const char* label;
    const wchar_t* fileName; // with the extension the format's files have
    void (*fields)(Fields& fields, const std::string& bytes);
    std::string (*make)();
};

const Fixture fixtures[] = {
    {"Bmp24", L"case.bmp", BmpFields, [] { return Bmp24(PatternPicture(5, 3, 1)); }},
    {"Bmp32", L"case.bmp", BmpFields, [] { return Bmp32(PatternPicture(4, 3, 2, true)); }},
    {"Bmp8", L"case.bmp", BmpFields, [] { return Bmp8(PatternIndexed(5, 3, 6, 3)); }},
    {"PngRgb", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsBgr24(PatternPicture(5, 4, 4))}); }},
    {"PngRgba", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsBgra32(PatternPicture(4, 4, 5, true))}); }},
    {"PngPalette", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsIndexed8(PatternIndexed(5, 3, 7, 6))}); }},
    {"PngGrey", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsGray8(GreyPicture(6, 3, 7))}); }},
    {"Png16Bit", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsRgb48(PatternPicture(3, 3, 8))}); }},
    {"GifThreeFrames", L"case.gif", GifFields,
     [] {
         return EncodeWithWic(GUID_ContainerFormatGif, {AsIndexed8(PatternIndexed(4, 3, 5, 9)),
                                                        AsIndexed8(PatternIndexed(4, 3, 3, 10)),
                                                        AsIndexed8(PatternIndexed(4, 3, 8, 11))});
     }},
    {"TiffThreePages", L"case.tif", TiffFields,
     [] {
         return EncodeWithWic(GUID_ContainerFormatTiff, {AsBgr24(PatternPicture(3, 2, 12)),
                                                         AsGray8(GreyPicture(2, 3, 13)),
                                                         AsBgra32(PatternPicture(2, 2, 14, true))});
     }},
    {"Jpeg", L"case.jpg", JpegFields,
     [] { return EncodeWithWic(GUID_ContainerFormatJpeg, {AsBgr24(GradientPicture(16, 16))}); }},
    {"IcoThreeImages", L"case.ico", IcoFields,
     [] {
         return Ico({{3, 2, 32, IconDib(PatternPicture(3, 2, 15, true), 32)},
                     {2, 2, 24, IconDib(PatternPicture(2, 2, 16), 24)},
                     {4, 3, 32, EncodeWithWic(GUID_ContainerFormatPng, {AsBgra32(PatternPicture(4, 3, 17, true))})}});
     }},
};

// Wine's own decoders crash on these (a read fault inside windowscodecs), which would end
// the process before the other cases ran; on Windows they run.
// - An icon whose DIB claims a height of 0x55555556: Wine's icon reader copies rows from
//   far outside the file's data (copy_pixels under BmpFrameDecode_CopyPixels, ReadIcoDib,
//   IcoDecoder_GetFrame).
const std::set<std::string> wineCrashes = {
    "IcoThreeImages, image 0 height (4 bytes at 62) = 0x55555556",
};

std::uint32_t Crc32(const char* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
        {
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

// A PNG decoder rejects a chunk whose CRC does not match before it reads the chunk:
// recomputed CRCs let a damaged header or pixel stream through to the later steps. Also
// reaches the PNG images inside an icon.
void ResealPngs(std::string& bytes)
{
    for (std::size_t png = bytes.find("\x89PNG"); png != std::string::npos; png = bytes.find("\x89PNG", png + 1))
    {
        for (std::size_t chunk = png + 8, length = 0; chunk + 12 <= bytes.size(); chunk += 12 + length)
        {
            length = Read(bytes, chunk, 4, true);
            if (length > bytes.size() - chunk - 12)
            {
                break;
            }
            Write(bytes, chunk + 8 + length, 4, true, Crc32(bytes.data() + chunk + 4, length + 4));
            if (bytes.compare(chunk + 4, 4, "IEND") == 0)
            {
                break;
            }
        }
    }
}

// LastFrame counts the second call, made for files that report 2 to 64 frames.
enum Kind
{
    Truncation, Flip, Burst, FieldValue, OtherFormat, LastFrame, LeftOut
};
const char* const kindNames[] = {"truncation", "byte flip",  "burst",   "header field",
                                 "other format", "last frame", "left out"};

struct Mutation
{
    Kind kind;
    std::string label;
    std::string bytes;
};

// The same corpus on every run: the seed is the fixture's position in the table.
std::vector<Mutation> Mutations(std::size_t fixtureIndex, const std::vector<std::string>& files)
{
    const std::string& file = files[fixtureIndex];
    std::vector<Mutation> mutations;

    // Every length through the headers, zero included, then spread through the data.
    std::set<std::size_t> cuts{file.size() - 1};
    for (std::size_t length = 0; length < file.size(); length += length < 96 ? 1 : file.size() / 48)
    {
        cuts.insert(length);
    }
    for (const std::size_t length : cuts)
    {
        mutations.push_back({Truncation, "cut to " + std::to_string(length) + " bytes", file.substr(0, length)});
    }

    // Every other change lands in the first 64 bytes, where the headers are; half of them
    // have their PNG CRCs made right again.
    std::mt19937 random(static_cast<std::uint32_t>(fixtureIndex) + 1);
    for (int change = 0; change < 160; ++change)
    {
        const bool burst = change >= 120;
        const std::size_t at = random() % (change % 2 == 0 ? std::min<std::size_t>(file.size(), 64) : file.size());
        const std::size_t length = burst ? std::min<std::size_t>(2 + random() % 31, file.size() - at) : 1;
        std::string bytes = file;
        for (std::size_t i = at; i < at + length; ++i)
        {
            bytes[i] = static_cast<char>(bytes[i] ^ (1 + random() % 255));
        }
        const bool resealed = change % 4 < 2 && HoldsPng(file, file.find("\x89PNG"));
        if (resealed)
        {
            ResealPngs(bytes);
        }
        mutations.push_back({burst ? Burst : Flip,
                             std::to_string(length) + " bytes changed at " + std::to_string(at) +
                                 (resealed ? ", CRCs fixed" : ""),
                             bytes});
    }

    // 40000 squared and 0x55555556 times 3 wrap in 32 bits; the top bit alone makes a
    // signed field negative.
    Fields fields;
    fixtures[fixtureIndex].fields(fields, file);
    for (const Field& field : fields)
    {
        const std::uint32_t maximum = 0xFFFFFFFFu >> (32 - 8 * field.size);
        for (const std::uint32_t value : {0u, 1u, maximum, 40000u & maximum, 0x55555556u & maximum,
                                          0x80000000u >> (32 - 8 * field.size)})
        {
            std::string bytes = file;
            Write(bytes, field.offset, field.size, field.bigEndian, value);
            ResealPngs(bytes);
            mutations.push_back({FieldValue,
                                 field.name + " (" + std::to_string(field.size) + " bytes at " +
                                     std::to_string(field.offset) + ") = " + Hex(value),
                                 bytes});
        }
    }

    // Every other fixture under this one's name, whole and as a header on this one's body.
    for (std::size_t other = 0; other < files.size(); ++other)
    {
        if (other != fixtureIndex)
        {
            const std::string name = fixtures[other].label;
            mutations.push_back({OtherFormat, "holds " + name, files[other]});
            mutations.push_back({OtherFormat, "starts like " + name,
                                 files[other].substr(0, 16) + file.substr(std::min<std::size_t>(16, file.size()))});
        }
    }
    return mutations;
}

// How a call ended: decoded, or the step its one message names.
// CopyWithoutBuffer: the size does not fit in 32 bits, or malloc failed.
enum Step
{
    Decoded, Factory, Open, FrameCount, Frame, Size, Converter, Initialize, Copy, CopyWithoutBuffer, Unknown
};
const char* const stepNames[] = {"decoded", "factory",    "open", "frame count",     "frame",  "size",
                                 "converter", "initialize", "copy", "copy, no buffer", "unknown"};
const wchar_t* const failureMessages[] = {
    L"[WIC_Plugin] CoCreateInstance( CLSID_WICImagingFactor ) Failed!",
    L"[WIC_Plugin] IWICImagingFactory->CreateDecoderFromFilename( ) Failed!",
    L"[WIC_Plugin] IWICBitmapDecoder->GetFrameCount( ) Failed!",
    L"[WIC_Plugin] IWICBitmapDecoder->GetFrame( ) Failed!",
    L"[WIC_Plugin] IWICBitmapFrameDecode->GetSize( ) Failed!",
    L"[WIC_Plugin] IWICImagingFactory->CreateFormatConverter( ) Failed!",
    L"[WIC_Plugin] IWICFormatConverter->Initialize( ) Failed!",
    L"[WIC_Plugin] IWICFormatConverter->CopyPixels( ) Failed!",
};

Step CheckOutputs(const ImageDataCall& call, unsigned int frame, bool indexPastCountPasses, const std::string& where)
{
    constexpr unsigned int unwritten = ImageDataCall::unwritten;
    Step step = Decoded;
    if (call.result == 0)
    {
        EXPECT_TRUE(call.messages.empty()) << where;
        EXPECT_NE(call.pixels, nullptr) << where;
        if (!indexPastCountPasses)
        {
            EXPECT_GT(call.frameCount, frame) << where;
        }
    }
    else
    {
        EXPECT_EQ(call.result, -1) << where;
        const auto found = call.messages.size() != 1
                               ? std::end(failureMessages)
                               : std::find(std::begin(failureMessages), std::end(failureMessages), call.messages[0]);
        if (found == std::end(failureMessages))
        {
            ADD_FAILURE() << where << ": " << call.messages.size() << " messages, not one known one";
            return Unknown;
        }
        step = static_cast<Step>(Factory + (found - std::begin(failureMessages)));
        step = step == Copy && call.pixels == nullptr ? CopyWithoutBuffer : step;
    }

    // Each output is written by its own step once that step has succeeded.
    const std::string context = where + " (" + stepNames[step] + ")";
    const bool bufferWritten = step == Decoded || step >= Copy;
    EXPECT_EQ(call.frameCount != unwritten, step == Decoded || step >= Frame) << context;
    EXPECT_EQ(call.width != unwritten, step == Decoded || step >= Converter) << context;
    EXPECT_EQ(call.height != unwritten, step == Decoded || step >= Converter) << context;
    EXPECT_EQ(call.byteCount != unwritten, bufferWritten) << context;
    EXPECT_EQ(call.pixels != ImageDataCall::UnwrittenPointer(), bufferWritten) << context;
    const std::uint64_t size = std::uint64_t{call.width} * call.height * 3;
    if (step == CopyWithoutBuffer)
    {
        EXPECT_TRUE((call.byteCount == 0 && size > UINT32_MAX) || call.byteCount == size)
            << context << ": " << call.width << " x " << call.height << ", byte count " << call.byteCount;
    }
    else if (bufferWritten)
    {
        EXPECT_EQ(call.byteCount, size) << context << ": " << call.width << " x " << call.height;
        EXPECT_EQ(_msize(call.pixels), call.byteCount) << context;
    }
    return step;
}

testing::AssertionResult HeapsIntact()
{
    std::vector<HANDLE> heaps(64);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    if (heaps.empty() || heaps.size() > 64)
    {
        return testing::AssertionFailure() << heaps.size() << " heaps";
    }
    for (const HANDLE heap : heaps)
    {
        if (!HeapValidate(heap, 0, nullptr))
        {
            return testing::AssertionFailure() << "heap " << heap << " is corrupt";
        }
    }
    if (_heapchk() != _HEAPOK)
    {
        return testing::AssertionFailure() << "the C runtime's heap is corrupt";
    }
    return testing::AssertionSuccess();
}

class CorruptedImageTest : public testing::TestWithParam<std::size_t>
{
};

TEST_P(CorruptedImageTest, EveryCallGivesADocumentedResultAndLeavesTheHeapsIntact)
{
    std::vector<std::string> files;
    for (const Fixture& fixture : fixtures)
    {
        files.push_back(fixture.make());
    }
    const Fixture& fixture = fixtures[GetParam()];
    const std::vector<Mutation> mutations = Mutations(GetParam(), files);
    // Wine's icon decoder lets an index equal to the image count through, and the range
    // check is WIC's alone: an icon directory claiming no images still decodes frame 0.
    const bool indexPastCountPasses = RunningUnderWine() && fixture.fields == IcoFields;
    const ScratchFolder folder;
    const std::wstring path = folder / fixture.fileName;
    PluginCopy plugin;
    const auto& library = plugin.Load();
    ASSERT_TRUE(HeapsIntact());

    // The emulated 32-bit build runs every third case.
    const std::size_t stride = sizeof(void*) == 4 ? 3 : 1;
    std::map<Kind, int> cases;
    std::map<Kind, std::map<Step, int>> outcomes;
    for (std::size_t index = 0; index < mutations.size(); index += stride)
    {
        const Mutation& mutation = mutations[index];
        const std::string label = std::string(fixture.label) + ", " + mutation.label;
        if (RunningUnderWine() && wineCrashes.count(label) != 0)
        {
            ++cases[LeftOut];
            continue;
        }
        ++cases[mutation.kind];
        WriteFileBytes(path, mutation.bytes);
        std::vector<unsigned int> frames{0};
        for (std::size_t call = 0; call < frames.size(); ++call)
        {
            const std::string where = label + ", frame " + std::to_string(frames[call]);
            {
                const ImageDataCall result(library, AnsiPath(path), frames[call]);
                ++outcomes[call == 0 ? mutation.kind : LastFrame]
                          [CheckOutputs(result, frames[call], indexPastCountPasses, where)];
                if (call == 0 && result.frameCount >= 2 && result.frameCount <= 64)
                {
                    frames.push_back(result.frameCount - 1);
                    ++cases[LastFrame];
                }
            }
            ASSERT_TRUE(HeapsIntact()) << where;
        }
    }

    std::ostringstream report;
    report << fixture.label << ": " << mutations.size() << " cases, " << (mutations.size() + stride - 1) / stride
           << " run; calls by how they ended:";
    for (const auto& [kind, count] : cases)
    {
        report << "\n  " << kindNames[kind] << " " << count;
        const char* separator = ": ";
        for (const auto& [step, calls] : outcomes[kind])
        {
            report << separator << stepNames[step] << " " << calls;
            separator = ", ";
        }
    }
    std::cout << report.str() << "\n";
    RecordProperty("outcomes", report.str());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CorruptedImageTest, testing::Range<std::size_t>(0, std::size(fixtures)),
                         [](const testing::TestParamInfo<std::size_t>& info) {
                             return std::string(fixtures[info.param].label);
                         });

} // namespace
