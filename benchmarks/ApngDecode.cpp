#include "ApngDecode.h"

#include "AlternatingRuns.h"
#include "Contenders.h"
#include "StickerAnimation.h"
#include "hosting/AnsiPath.h"
#include "support/BitmapFiles.h"
#include "support/FileBytes.h"

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

namespace Tesmo::Benchmarks
{

namespace
{

void PrintRow(const char* label, const Comparison& times)
{
    std::printf("    %-34s %10.3f (%9.3f-%10.3f) %9.3f (%8.3f-%9.3f) %7.2f\n", label, times.plugin.median,
                times.plugin.minimum, times.plugin.maximum, times.bare.median, times.bare.minimum,
                times.bare.maximum, times.plugin.median / times.bare.median);
    std::fflush(stdout);
}

} // namespace

void MeasureApngDecode(const PluginHost::PluginLibrary& plugin, const std::wstring& folder,
                       WorkerThread& pluginThread, WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare)
{
    StickerAnimation sticker;
    bareThread.Run([&] { sticker = WriteStickerAnimation(folder); });
    std::printf("\nAnimated PNG: the plug-in composing frame k on the canvas, on a thread with no COM;\n"
                "bare WIC decoding frame PNGs, with one reused factory\n");
    std::printf("    %-34s %33s %30s %7s\n", "work (plug-in / bare WIC)", "plug-in ms (min-max)", "bare ms (min-max)",
                "ratio");
    // Still pictures, twenty decodes a run: the plug-in reads a file's head to see whether
    // it is an animated PNG.
    const auto stillRow = [&](const char* label, const std::wstring& file) {
        const std::string narrow = PluginHost::AnsiPath(file);
        const auto twenty = [](const std::function<void()>& decode) {
            for (int run = 0; run < 20; ++run)
            {
                decode();
            }
        };
        PrintRow(label, TimeAlternating(
                            [&] { pluginThread.Run([&] { twenty([&] { DecodeWithPlugin(plugin, narrow, 0); }); }); },
                            [&] { bareThread.Run([&] { twenty([&] { DecodeWithBareWic(bare, file, 0); }); }); }));
    };
    stillRow("20 x still 480 x 270 RGBA PNG", sticker.framePaths[0]);
    const std::wstring bitmap = folder + L"\\small.bmp";
    Tests::WriteFileBytes(bitmap, Tests::Bmp24(Tests::PatternPicture(32, 32, 7)));
    stillRow("20 x still 32 x 32 BMP", bitmap);

    const std::string path = PluginHost::AnsiPath(sticker.path);
    const auto frames = static_cast<unsigned int>(sticker.framePaths.size());
    FrameSize last;
    pluginThread.Run([&] { last = DecodeWithPlugin(plugin, path, frames - 1); });
    if (last.width != sticker.width || last.height != sticker.height)
    {
        throw std::runtime_error("the plug-in did not compose the last frame of the animated PNG on its canvas");
    }
    std::printf("  a sticker, %u frames, %u x %u, %.1f KB, a whole-canvas frame every 10th\n", frames,
                sticker.width, sticker.height, sticker.fileBytes / 1024.0);

    const auto pluginInTurn = [&] {
        pluginThread.Run([&] {
            for (unsigned int frame = 0; frame < frames; ++frame)
            {
                DecodeWithPlugin(plugin, path, frame);
            }
        });
    };
    // Each frame's PNG once, as a decoder that kept the canvas between calls would.
    PrintRow("frames in turn / each frame once", TimeAlternating(pluginInTurn, [&] {
                 bareThread.Run([&] {
                     for (const std::wstring& framePath : sticker.framePaths)
                     {
                         DecodeWithBareWic(bare, framePath, 0);
                     }
                 });
             }));
    // The frame PNGs each stateless call decodes.
    PrintRow("frames in turn / frames each draws", TimeAlternating(pluginInTurn, [&] {
                 bareThread.Run([&] {
                     for (unsigned int frame = 0; frame < frames; ++frame)
                     {
                         for (unsigned int drawn = sticker.firstDrawn[frame]; drawn <= frame; ++drawn)
                         {
                             DecodeWithBareWic(bare, sticker.framePaths[drawn], 0);
                         }
                     }
                 });
             }));
}

} // namespace Tesmo::Benchmarks
