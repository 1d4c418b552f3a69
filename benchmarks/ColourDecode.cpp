#include "ColourDecode.h"

#include "BenchmarkImages.h"
#include "ComparisonTable.h"
#include "Contenders.h"
#include "PairedDecode.h"
#include "hosting/AnsiPath.h"
#include "hosting/IccProfileBuilders.h"
#include "hosting/PngEncoder.h"
#include "hosting/TiffEncoder.h"
#include "support/FileBytes.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace Tesmo::Benchmarks
{

namespace
{

using PluginHost::EncodeIccProfile;

std::string RgbPng(PictureSize size, const std::string& samples, unsigned int bitDepth, const std::string& profile)
{
    PluginHost::PngImage image{size.width, size.height, PluginHost::PngColourType::Rgb, bitDepth, samples};
    if (!profile.empty())
    {
        image.profile = PluginHost::PngProfile{"ICC profile", profile};
    }
    return PluginHost::EncodePng(image);
}

std::string Tiff(PictureSize size, const std::string& samples, PluginHost::TiffColour colour,
                 const std::string& profile)
{
    PluginHost::TiffPage page{size.width, size.height, samples};
    page.colour = colour;
    page.iccProfile = profile;
    return PluginHost::EncodeTiff({page});
}

// Each 8-bit level v as the 16-bit level v * 257, most significant byte first as PNG
// stores it, so that both pictures hold the same colours.
std::string WidenedTo16Bits(const std::string& samples)
{
    std::string wide;
    wide.reserve(samples.size() * 2);
    for (const char sample : samples)
    {
        wide.append(2, sample);
    }
    return wide;
}

// The inks NaiveCmykProfile's model gives each RGB pixel (k = 1 - max(r, g, b), then each
// of c, m, y what is left of its channel's complement), so that the CMYK page shows the RGB
// page's colours and the two decodes hand over the same picture.
std::string NaiveInks(const std::string& rgb)
{
    std::string inks;
    inks.reserve(rgb.size() / 3 * 4);
    for (size_t at = 0; at + 2 < rgb.size(); at += 3)
    {
        const unsigned int channels[3] = {static_cast<unsigned char>(rgb[at]),
                                          static_cast<unsigned char>(rgb[at + 1]),
                                          static_cast<unsigned char>(rgb[at + 2])};
        const unsigned int brightest = std::max({channels[0], channels[1], channels[2]});
        for (const unsigned int channel : channels)
        {
            // (1 - c - k) / (1 - k) in levels, rounded; no ink at all for black.
            inks += static_cast<char>(brightest == 0 ? 0 : ((brightest - channel) * 255 + brightest / 2) / brightest);
        }
        inks += static_cast<char>(255 - brightest);
    }
    return inks;
}

// For scale: the untagged PNG through the plug-in against bare WIC.
void MeasureAgainstBareWic(const PluginHost::PluginLibrary& plugin, const std::wstring& path,
                           WorkerThread& pluginThread, WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare)
{
    const std::string ansiPath = PluginHost::AnsiPath(path);
    const Comparison times =
        TimeAlternating([&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, ansiPath, 0); }); },
                        [&] { bareThread.Run([&] { DecodeWithBareWic(bare, path, 0); }); });
    std::printf("  For scale, the untagged PNG through the plug-in and through bare WIC (one reused factory):\n");
    ComparisonTable(0, "", "plug-in ms (min-max)", "bare WIC ms (min-max)", false).PrintRow("", times);
}

} // namespace

void MeasureColour(const PluginHost::PluginLibrary& plugin, const std::wstring& folder, unsigned int largeMegapixels,
                   WorkerThread& pluginThread, WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare)
{
    const PictureSize size = LargePictureSize(largeMegapixels);
    const std::string rgb = [&] {
        const std::vector<BYTE> pixels = PhotoLikePixels(size.width, size.height, 3);
        return std::string(pixels.begin(), pixels.end());
    }();
    const std::string adobe = EncodeIccProfile(PluginHost::MatrixProfile(PluginHost::AdobeRgbSpace()));

    std::printf("\nColour through an embedded ICC profile: %u x %u pictures through the plug-in, each tagged\n"
                "against the same pixels untagged (the CMYK page against the same colours as an untagged RGB\n"
                "page). The PNGs are written with stored (uncompressed) deflate blocks: cheap to inflate.\n",
                size.width, size.height);
    std::fflush(stdout);
    const ComparisonTable table(26, "picture", "tagged ms (min-max)", "untagged ms (min-max)", true);
    const auto measure = [&](const char* label, const PairFile& subject, const PairFile& reference,
                             StepEffect effect, double goal) {
        table.PrintRow(label,
                       TimeWrittenPair(plugin, pluginThread, folder, subject, reference, size.width, size.height,
                                       effect),
                       goal);
        std::fflush(stdout);
    };
    const std::string untaggedPng = RgbPng(size, rgb, 8, "");
    measure("Adobe RGB PNG", {L"adobe-rgb.png", RgbPng(size, rgb, 8, adobe)}, {L"untagged.png", untaggedPng},
            StepEffect::ChangesPixels, 1.30);
    measure("sRGB-tagged PNG",
            {L"srgb.png", RgbPng(size, rgb, 8, EncodeIccProfile(PluginHost::MatrixProfile(PluginHost::SrgbSpace())))},
            {L"untagged.png", untaggedPng}, StepEffect::Unchecked, 1.05);
    {
        PluginHost::PngImage gamma{size.width, size.height, PluginHost::PngColourType::Rgb, 8, rgb};
        gamma.gamma = 45455; // a pure 2.2 power, no profile
        measure("gAMA PNG, no profile", {L"gamma.png", PluginHost::EncodePng(gamma)}, {L"untagged.png", untaggedPng},
                StepEffect::ChangesPixels, 1.30);
    }
    measure("Adobe RGB TIFF", {L"adobe-rgb.tif", Tiff(size, rgb, PluginHost::TiffColour::Rgb, adobe)},
            {L"untagged.tif", Tiff(size, rgb, PluginHost::TiffColour::Rgb, "")}, StepEffect::ChangesPixels, 0);
    measure("CMYK TIFF (against RGB)",
            {L"cmyk.tif", Tiff(size, NaiveInks(rgb), PluginHost::TiffColour::Cmyk,
                               EncodeIccProfile(PluginHost::NaiveCmykProfile()))},
            {L"untagged.tif", Tiff(size, rgb, PluginHost::TiffColour::Rgb, "")}, StepEffect::Unchecked, 0);
    {
        const std::string wide = WidenedTo16Bits(rgb);
        measure("ProPhoto PNG, 16-bit",
                {L"prophoto-16.png",
                 RgbPng(size, wide, 16, EncodeIccProfile(PluginHost::MatrixProfile(PluginHost::ProPhotoSpace())))},
                {L"untagged-16.png", RgbPng(size, wide, 16, "")}, StepEffect::ChangesPixels, 0);
    }

    const std::wstring untaggedPath = folder + L"\\untagged.png";
    Tests::WriteFileBytes(untaggedPath, untaggedPng);
    MeasureAgainstBareWic(plugin, untaggedPath, pluginThread, bareThread, bare);
    DeleteFileW(untaggedPath.c_str());
}

} // namespace Tesmo::Benchmarks
