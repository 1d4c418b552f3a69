// The corpus: the valid source images, one of every format, and the damaged files derived
// from each of them.

#include "corruption/Corpus.h"

#include "hosting/TiffEncoder.h"
#include "support/Animations.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <string_view>

namespace Tesmo::Tests::Corruption
{

using PluginHost::EncodeWithWic;

namespace
{

const SourceImage sourceImages[] = {
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
    {"ApngSticker", L"case.png", PngFields,
     [] {
         return PluginHost::EncodeApng(LetterAnimation(3, "KKKKKK", false,
                                                       {LetterFrame(0, 0, 3, "RR.GGB"), LetterFrame(1, 0, 2, "Y.", 2, 1),
                                                        LetterFrame(0, 1, 2, "CM", 1, 1)}));
     }},
    {"GifThreeFrames", L"case.gif", GifFields,
     [] {
         return EncodeWithWic(GUID_ContainerFormatGif, {AsIndexed8(PatternIndexed(4, 3, 5, 9)),
                                                        AsIndexed8(PatternIndexed(4, 3, 3, 10)),
                                                        AsIndexed8(PatternIndexed(4, 3, 8, 11))});
     }},
    {"GifAnimation", L"case.gif", GifFields, [] { return PluginHost::EncodeGif(PatchAnimation()); }},
    {"TiffThreePages", L"case.tif", TiffFields,
     [] {
         return EncodeWithWic(GUID_ContainerFormatTiff, {AsBgr24(PatternPicture(3, 2, 12)),
                                                         AsGray8(GreyPicture(2, 3, 13)),
                                                         AsBgra32(PatternPicture(2, 2, 14, true))});
     }},
    {"TiffTurnedPages", L"case.tif", TiffFields,
     [] {
         return PluginHost::EncodeTiff({{3, 2, PatternPicture(3, 2, 25).Rgb(), {{6}}},
                                        {2, 3, PatternPicture(2, 3, 26).Rgb(), {{3}}}});
     }},
    {"Jpeg", L"case.jpg", JpegFields,
     [] { return EncodeWithWic(GUID_ContainerFormatJpeg, {AsBgr24(GradientPicture(16, 16))}); }},
    {"IcoThreeImages", L"case.ico", IcoFields,
     [] {
         return Ico({{3, 2, 32, IconDib(PatternPicture(3, 2, 15, true), 32)},
                     {2, 2, 24, IconDib(PatternPicture(2, 2, 16), 24)},
                     {4, 3, 32, EncodeWithWic(GUID_ContainerFormatPng, {AsBgra32(PatternPicture(4, 3, 17, true))})}});
     }},
    // JPEG XR's container is TIFF's directory under another signature.
    {"JpegXrHalf", L"case.jxr", TiffFields, [] { return FixtureBytes(L"64bppRGBAHalf.jxr"); }},
};

} // namespace

std::span<const SourceImage> SourceImages()
{
    return sourceImages;
}

const char* KindName(Kind kind)
{
    static const char* const names[] = {"truncation",   "byte flip",  "burst",   "header field",
                                        "other format", "last frame", "left out"};
    return names[kind];
}

std::vector<Mutation> Mutations(const SourceImage& source)
{
    const std::span<const SourceImage> sources = SourceImages();
    std::vector<std::string> files;
    std::size_t sourceIndex = 0;
    for (const SourceImage& each : sources)
    {
        sourceIndex = std::string_view(each.label) == source.label ? files.size() : sourceIndex;
        files.push_back(each.make());
    }
    const std::string& file = files[sourceIndex];
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
    std::mt19937 random(static_cast<std::uint32_t>(sourceIndex) + 1);
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
    source.fields(fields, file);
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

    // Every other source under this one's name, whole and as a header on this one's body.
    for (std::size_t other = 0; other < files.size(); ++other)
    {
        if (other != sourceIndex)
        {
            const std::string name = sources[other].label;
            mutations.push_back({OtherFormat, "holds " + name, files[other]});
            mutations.push_back({OtherFormat, "starts like " + name,
                                 files[other].substr(0, 16) + file.substr(std::min<std::size_t>(16, file.size()))});
        }
    }
    return mutations;
}

} // namespace Tesmo::Tests::Corruption
