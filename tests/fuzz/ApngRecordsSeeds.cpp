// Writes ApngRecordsFuzz's seed corpus: animated PNGs of the kinds the tests write (a
// shown and a hidden default image, every dispose_op and blend_op, palette with tRNS, grey
// with alpha, 16-bit, a profile) and each broken one the tests check, one file each into
// the folder named. The corpus committed in tests/fuzz/corpus/apng-records/ was written by
// it:
//     build/fuzz/ApngRecordsSeeds tests/fuzz/corpus/apng-records

#include "hosting/ApngEncoder.h"
#include "SeedFiles.h"

#include <string>
#include <utility>
#include <vector>

using namespace Tesmo::PluginHost;

namespace
{

// A width x height image of the layout, its samples all of one byte value.
PngImage Plain(PngColourType type, unsigned int depth, unsigned int width, unsigned int height, char value)
{
    const unsigned int channels = type == PngColourType::Rgba        ? 4
                                  : type == PngColourType::Rgb       ? 3
                                  : type == PngColourType::GreyAlpha ? 2
                                                                     : 1;
    const std::size_t rowBytes = (std::size_t{width} * channels * depth + 7) / 8;
    return {width, height, type, depth, std::string(rowBytes * height, value)};
}

ApngToEncode Animation(PngColourType type, unsigned int depth, bool shown)
{
    ApngToEncode apng{Plain(type, depth, 4, 3, 0), shown, {}};
    apng.frames.push_back({0, 0, Plain(type, depth, 4, 3, 1), 0, 0});
    apng.frames.push_back({1, 1, Plain(type, depth, 2, 2, 2), 1, 1});
    apng.frames.push_back({2, 0, Plain(type, depth, 2, 3, 3), 2, 1});
    apng.frames.push_back({0, 2, Plain(type, depth, 4, 1, 4), 2, 0});
    return apng;
}

void PutNumber(std::string& data, std::size_t at, std::uint32_t value)
{
    for (std::size_t index = 0; index < 4; ++index)
    {
        data[at + index] = static_cast<char>(value >> (24 - 8 * index));
    }
}

std::string Broken(void (*change)(std::vector<PngChunkToWrite>&))
{
    std::vector<PngChunkToWrite> chunks = ApngChunks(Animation(PngColourType::Rgba, 8, false));
    change(chunks); // 0 IHDR, 1 acTL, 2 IDAT, 3 fcTL 0, 4 fdAT 1, 5 fcTL 2, 6 fdAT 3, ...
    return WritePngChunks(chunks);
}

std::vector<std::pair<std::string, std::string>> Seeds()
{
    ApngToEncode palette = Animation(PngColourType::Palette, 8, false);
    palette.defaultImage.palette = std::string(12, '\x40');
    palette.defaultImage.transparency = std::string("\xFF\x00\x80", 3);
    ApngToEncode profiled = Animation(PngColourType::Rgb, 8, true);
    profiled.defaultImage.profile = PngProfile{"ICC profile", std::string(128, '\0')};
    return {
        {"rgba-hidden.png", EncodeApng(Animation(PngColourType::Rgba, 8, false))},
        {"rgba-shown.png", EncodeApng(Animation(PngColourType::Rgba, 8, true))},
        {"palette-trns.png", EncodeApng(palette)},
        {"grey-alpha.png", EncodeApng(Animation(PngColourType::GreyAlpha, 8, false))},
        {"rgba-16-bit.png", EncodeApng(Animation(PngColourType::Rgba, 16, false))},
        {"grey-2-bit.png", EncodeApng(Animation(PngColourType::Grey, 2, true))},
        {"profiled.png", EncodeApng(profiled)},
        {"sequence-gap.png", Broken([](auto& chunks) { PutNumber(chunks[6].data, 0, 4); })},
        {"sequence-repeated.png", Broken([](auto& chunks) { PutNumber(chunks[6].data, 0, 2); })},
        {"fdat-before-fctl.png", Broken([](auto& chunks) { std::swap(chunks[5], chunks[6]); })},
        {"fdat-missing.png", Broken([](auto& chunks) { chunks.erase(chunks.begin() + 6); })},
        {"num-frames-high.png", Broken([](auto& chunks) { PutNumber(chunks[1].data, 0, 5); })},
        {"num-frames-low.png", Broken([](auto& chunks) { PutNumber(chunks[1].data, 0, 3); })},
        {"num-frames-huge.png", Broken([](auto& chunks) { PutNumber(chunks[1].data, 0, 0xFFFFFFFF); })},
        {"frame-outside.png", Broken([](auto& chunks) { PutNumber(chunks[5].data, 12, 3); })},
        {"actl-after-idat.png", Broken([](auto& chunks) { std::swap(chunks[1], chunks[2]); })},
    };
}

} // namespace

int main(int argc, char** argv)
{
    return WriteSeedFiles(argc, argv, "ApngRecordsSeeds", Seeds());
}
