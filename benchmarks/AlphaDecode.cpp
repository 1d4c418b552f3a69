#include "AlphaDecode.h"

#include "BenchmarkImages.h"
#include "ComparisonTable.h"
#include "PairedDecode.h"
#include "Contenders.h"
#include "hosting/AnsiPath.h"
#include "hosting/PngEncoder.h"
#include "support/FileBytes.h"
#include "support/PluginCopy.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace Tesmo::Benchmarks
{

namespace
{

// The RGB samples with an alpha sample after each pixel: a ramp across the width, clamped,
// so that the left sixth is fully transparent, the right sixth opaque and the rest takes
// every level between. A compositor that shortcuts 0 and 255 meets both, and the rest too.
std::string WithAlphaRamp(const std::string& rgb, unsigned int width)
{
    std::string rgba;
    rgba.reserve(rgb.size() / 3 * 4);
    for (size_t pixel = 0; pixel * 3 + 2 < rgb.size(); ++pixel)
    {
        const long long x = static_cast<long long>(pixel % width);
        rgba.append(rgb, pixel * 3, 3);
        rgba += static_cast<char>(std::clamp<long long>(x * 384 / width - 64, 0, 255));
    }
    return rgba;
}

std::string Png(PictureSize size, PluginHost::PngColourType colourType, const std::string& samples)
{
    return PluginHost::EncodePng({size.width, size.height, colourType, 8, samples});
}

} // namespace

void MeasureAlpha(const PluginHost::PluginLibrary& plugin, const std::wstring& folder, unsigned int largeMegapixels,
                  WorkerThread& pluginThread)
{
    const PictureSize size = LargePictureSize(largeMegapixels);
    const std::vector<BYTE> pixels = PhotoLikePixels(size.width, size.height, 3);
    const std::string rgb(pixels.begin(), pixels.end());

    std::printf("\nTransparency over the background: a %u x %u RGBA PNG through the plug-in (straight alpha, a\n"
                "ramp across the width: a sixth transparent, a sixth opaque, every level between) against the\n"
                "same colours as an opaque RGB PNG. Both written with stored (uncompressed) deflate blocks.\n",
                size.width, size.height);
    std::fflush(stdout);
    const Comparison times =
        TimeWrittenPair(plugin, pluginThread, folder,
                        {L"alpha.png", Png(size, PluginHost::PngColourType::Rgba, WithAlphaRamp(rgb, size.width))},
                        {L"opaque.png", Png(size, PluginHost::PngColourType::Rgb, rgb)}, size.width, size.height,
                        StepEffect::ChangesPixels);
    ComparisonTable(0, "", "RGBA ms (min-max)", "RGB ms (min-max)", true).PrintRow("", times, 1.15);

    // The same file as the plug-in handed it over before it composited: through a copy of
    // the plug-in whose settings file says transparency=raw, alpha dropped.
    std::printf("\nThe same RGBA PNG composited over white against its decode with alpha dropped\n"
                "(transparency=raw, a copy of the plug-in beside its settings file).\n");
    std::fflush(stdout);
    Tests::PluginCopy raw;
    raw.WriteSettings(L"[Frames]\r\ntransparency=raw\r\n");
    const PluginHost::PluginLibrary& rawPlugin = raw.Load();
    const std::wstring path = folder + L"\\alpha-same.png";
    Tests::WriteFileBytes(path, Png(size, PluginHost::PngColourType::Rgba, WithAlphaRamp(rgb, size.width)));
    const std::string ansiPath = PluginHost::AnsiPath(path);
    const Comparison same =
        TimeAlternating([&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, ansiPath, 0); }); },
                        [&] { pluginThread.Run([&] { DecodeWithPlugin(rawPlugin, ansiPath, 0); }); });
    DeleteFileW(path.c_str());
    ComparisonTable(0, "", "over white ms (min-max)", "raw ms (min-max)", true).PrintRow("", same, 1.15);
}

} // namespace Tesmo::Benchmarks
