// Writes IccProfileFuzz's seed corpus: a profile of every kind the tests' builders write
// (hosting/IccProfileBuilders.h), each curve form, both versions, table-based RGB and CMYK,
// and the damaged ones the tests embed, one file each into the folder named; and tables of
// the kinds the builders do not write (lut8, lutAToB), by hand. The corpus
// committed in tests/fuzz/corpus/icc-profile/ was written by it (with the fuzzer's
// findings beside it):
//     build/fuzz/IccProfileSeeds tests/fuzz/corpus/icc-profile

#include "hosting/IccProfileBuilders.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace Tesmo::PluginHost;

namespace
{

std::string Encode(const IccProfileToEncode& profile)
{
    return EncodeIccProfile(profile);
}

// One tone curve for all three channels of sRGB's colorants.
std::string CurvedSrgb(const IccToneCurve& curve, IccVersion version = IccVersion::V2_1)
{
    return Encode(MatrixProfile("curve", D50Colorants(SrgbSpace()), curve, version));
}

void Put16(std::string& bytes, unsigned int value)
{
    bytes += static_cast<char>(value >> 8);
    bytes += static_cast<char>(value & 0xFF);
}

void Put32(std::string& bytes, std::uint32_t value)
{
    Put16(bytes, value >> 16);
    Put16(bytes, value & 0xFFFF);
}

// A lut8 ('mft1') table of inputs inputs and three outputs: bent input curves, a grid of
// made-up colours.
std::string Lut8Tag(unsigned int inputs, unsigned int grid)
{
    std::string tag = "mft1";
    Put32(tag, 0);
    tag += {static_cast<char>(inputs), 3, static_cast<char>(grid), 0};
    for (int entry = 0; entry < 9; ++entry)
    {
        Put32(tag, entry % 4 == 0 ? 0x10000 : 0);
    }
    for (unsigned int input = 0; input < inputs; ++input)
    {
        for (int level = 0; level < 256; ++level)
        {
            tag += static_cast<char>(std::lround(255 * std::pow(level / 255.0, 0.5 + input * 0.3)));
        }
    }
    std::size_t points = 3;
    for (unsigned int input = 0; input < inputs; ++input)
    {
        points *= grid;
    }
    for (std::size_t point = 0; point < points; ++point)
    {
        tag += static_cast<char>(point * 37 % 251);
    }
    for (int output = 0; output < 3 * 256; ++output)
    {
        tag += static_cast<char>(output % 256);
    }
    return tag;
}

// An lutAToB ('mAB ') table of inputs inputs and three outputs: B curves, a grid of
// made-up colours, and A curves of every form (parametric, gamma, table).
std::string LutAToBTag(unsigned int inputs, unsigned int grid)
{
    const auto curves = [](unsigned int count) {
        std::string elements;
        for (unsigned int curve = 0; curve < count; ++curve)
        {
            if (curve % 3 == 0)
            {
                elements += "para";
                Put32(elements, 0);
                Put16(elements, 0);
                Put16(elements, 0);
                Put32(elements, 0x24000); // gamma 2.25
            }
            else
            {
                elements += "curv";
                Put32(elements, 0);
                const unsigned int entries = curve % 3 == 1 ? 1 : 5;
                Put32(elements, entries);
                for (unsigned int entry = 0; entry < entries; ++entry)
                {
                    Put16(elements, entries == 1 ? 0x01CD : entry * 65535 / (entries - 1));
                }
                elements.resize((elements.size() + 3) / 4 * 4, '\0');
            }
        }
        return elements;
    };
    const std::string bCurves = curves(3);
    std::string clut(16, '\0');
    std::size_t points = 3;
    for (unsigned int input = 0; input < inputs; ++input)
    {
        clut[input] = static_cast<char>(grid);
        points *= grid;
    }
    clut += {2, 0, 0, 0}; // 16-bit points
    for (std::size_t point = 0; point < points; ++point)
    {
        Put16(clut, static_cast<unsigned int>(point * 7919 % 65536));
    }
    clut.resize((clut.size() + 3) / 4 * 4, '\0');
    const std::uint32_t bAt = 32;
    const auto clutAt = static_cast<std::uint32_t>(bAt + bCurves.size());
    const auto aAt = static_cast<std::uint32_t>(clutAt + clut.size());
    std::string tag = "mAB ";
    Put32(tag, 0);
    tag += {static_cast<char>(inputs), 3, 0, 0};
    for (const std::uint32_t offset : {bAt, 0u, 0u, clutAt, aAt})
    {
        Put32(tag, offset);
    }
    return tag + bCurves + clut + curves(inputs);
}

// A table-based profile of colourSpace whose A2B0 is the tag given.
std::string WithTable(std::uint32_t colourSpace, std::uint32_t connectionSpace, std::string table)
{
    IccProfileToEncode profile = TableProfile("table", SrgbLabConversion(), 3);
    profile.colourSpace = colourSpace;
    profile.connectionSpace = connectionSpace;
    for (IccTag& tag : profile.tags)
    {
        if (tag.signature == IccSignature("A2B0"))
        {
            tag.contents = table;
        }
    }
    return Encode(profile);
}

std::string Damaged(std::string profile, std::size_t at, char value)
{
    profile[at] = value;
    return profile;
}

std::vector<std::pair<std::string, std::string>> Seeds()
{
    std::vector<std::pair<std::string, std::string>> seeds;
    const auto add = [&](const std::string& name, std::string bytes) { seeds.emplace_back(name, std::move(bytes)); };
    add("srgb-v2", Encode(MatrixProfile(SrgbSpace())));
    add("srgb-v4", Encode(MatrixProfile(SrgbSpace(), IccVersion::V4_3)));
    add("adobe-rgb", Encode(MatrixProfile(AdobeRgbSpace())));
    add("prophoto", Encode(MatrixProfile(ProPhotoSpace())));
    add("display-p3-v4", Encode(MatrixProfile(DisplayP3Space(), IccVersion::V4_3)));
    RgbColorants swapped = D50Colorants(SrgbSpace());
    std::swap(swapped.red, swapped.green);
    add("swapped-red-green", Encode(MatrixProfile("swapped", swapped, IccToneCurve::Srgb())));
    add("linear-rgb", CurvedSrgb(IccToneCurve::Gamma(1.0)));
    add("identity-curve", CurvedSrgb(IccToneCurve::Identity()));
    add("sampled-curve", CurvedSrgb(IccToneCurve::Sampled(1024, [](double x) { return std::pow(x, 2.2); })));
    add("two-point-curve", CurvedSrgb(IccToneCurve::Sampled({0, 65535})));
    add("parametric-0", CurvedSrgb(IccToneCurve::Parametric(0, {2.2}), IccVersion::V4_3));
    add("parametric-1", CurvedSrgb(IccToneCurve::Parametric(1, {2.2, 1.1, -0.1})));
    add("parametric-2", CurvedSrgb(IccToneCurve::Parametric(2, {2.2, 1.1, -0.1, 0.05})));
    add("parametric-4", CurvedSrgb(IccToneCurve::Parametric(4, {2.4, 0.9, 0.05, 0.07, 0.04, 0.01, 0.02})));
    add("linear-grey", Encode(GreyProfile("grey", IccToneCurve::Gamma(1.0))));
    add("srgb-grey", Encode(GreyProfile("grey", IccToneCurve::Srgb(), IccVersion::V4_3)));
    add("table-rgb-17", Encode(TableProfile("table", SrgbLabConversion(), 17)));
    add("table-rgb-3-v4", Encode(TableProfile("table", SrgbLabConversion(), 3, IccSignature("mntr"), IccVersion::V4_3)));
    add("naive-cmyk-9", Encode(NaiveCmykProfile()));
    add("naive-cmyk-3-v4", Encode(NaiveCmykProfile(3, IccVersion::V4_3)));
    add("swapped-inks-cmyk-5", Encode(NaiveCmykProfile(5, IccVersion::V2_1, true)));
    add("lut8-rgb", WithTable(IccSignature("RGB "), IccSignature("Lab "), Lut8Tag(3, 9)));
    add("lut8-cmyk", WithTable(IccSignature("CMYK"), IccSignature("XYZ "), Lut8Tag(4, 5)));
    add("lut-a-to-b-rgb", WithTable(IccSignature("RGB "), IccSignature("XYZ "), LutAToBTag(3, 5)));
    add("lut-a-to-b-cmyk", WithTable(IccSignature("CMYK"), IccSignature("Lab "), LutAToBTag(4, 3)));
    IccProfileToEncode lab = MatrixProfile(SrgbSpace());
    lab.colourSpace = IccSignature("Lab ");
    add("lab-colour-space", Encode(lab));
    IccProfileToEncode link = MatrixProfile(AdobeRgbSpace());
    link.deviceClass = IccSignature("link");
    add("device-link-class", Encode(link));

    // Damaged as the tests damage them: the declared size past the bytes, a tag's offset
    // outside the profile, a tag whose end lies past the profile's from a good offset, a
    // tag count past the table, a curve with more entries than its tag holds, a cut.
    const std::string linear = CurvedSrgb(IccToneCurve::Gamma(1.0));
    add("damaged-length-past-end", Damaged(linear, 0, '\x7F'));
    add("damaged-tag-outside", Damaged(linear, 132 + 4, '\x7F'));
    add("damaged-tag-end-outside", Damaged(linear, 132 + 8, '\x7F'));
    add("damaged-tag-count", Damaged(linear, 128, '\x7F'));
    std::string sampled = CurvedSrgb(IccToneCurve::Sampled(1024, [](double x) { return x * x; }));
    add("damaged-curve-count", Damaged(sampled, sampled.size() - 2048 - 4 + 1, '\x7F'));
    add("damaged-cut", linear.substr(0, linear.size() / 2));
    std::mt19937 random(28);
    std::string noise(600, '\0');
    for (char& byte : noise)
    {
        byte = static_cast<char>(random());
    }
    add("random-bytes", noise);
    return seeds;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: IccProfileSeeds FOLDER\n";
        return 2;
    }
    for (const auto& [name, bytes] : Seeds())
    {
        std::ofstream file(std::string(argv[1]) + "/" + name + ".icc", std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file)
        {
            std::cerr << "could not write " << name << "\n";
            return 1;
        }
    }
    return 0;
}
