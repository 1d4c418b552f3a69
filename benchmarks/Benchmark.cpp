#include "Benchmark.h"

#include "AlphaDecode.h"
#include "AlternatingRuns.h"
#include "AnimationDecode.h"
#include "AnimationImages.h"
#include "ApngDecode.h"
#include "BenchmarkImages.h"
#include "Catalogue.h"
#include "ColourDecode.h"
#include "DecodeOverhead.h"
#include "HdrDecode.h"
#include "MemoryProbe.h"
#include "OrientationDecode.h"
#include "ThreadScaling.h"
#include "WorkerThread.h"
#include "hosting/BareWicDecoder.h"
#include "hosting/ComApartment.h"
#include "hosting/PluginLibrary.h"
#include "support/ScratchFolder.h"

#include <objbase.h>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <vector>

namespace Tesmo::Benchmarks
{

int RunBenchmark(const std::wstring& pluginPath, bool decodeOnly, unsigned int largeMegapixels,
                 const std::wstring& earlierPluginPath)
{
    const PluginHost::PluginLibrary plugin(pluginPath);
    if (!plugin.getImageData || !plugin.getSupportedExtensions || !plugin.getDisplayName)
    {
        throw std::runtime_error("the plug-in lacks one of its three exports");
    }
    const Tests::ScratchFolder folder;
    std::vector<BenchmarkImage> images;
    // Each contender keeps one thread for the whole run: the plug-in's starts without COM,
    // bare WIC's in a single-threaded apartment, where its factory lives.
    WorkerThread pluginThread(WorkerThread::Com::None);
    WorkerThread bareThread(WorkerThread::Com::SingleThreadedApartment);
    std::optional<PluginHost::BareWicDecoder> bare;
    std::printf("Writing the benchmark images with WIC's encoders, and the animations byte by byte...\n");
    std::fflush(stdout);
    bareThread.Run([&] {
        images = WriteBenchmarkImages(folder.Path(), largeMegapixels);
        bare.emplace();
    });
    const Animations animations = WriteAnimations(folder.Path());
    std::printf("%d warm-up and %d counted runs per contender, alternating.\n", warmUpRuns, countedRuns);
    MeasureDecodeOverhead(plugin, images, pluginThread, bareThread, *bare, "with no COM");
    // The host's UI-thread case: the plug-in's thread joins an apartment first.
    std::optional<PluginHost::ComApartment> pluginApartment;
    pluginThread.Run([&] { pluginApartment.emplace(COINIT_APARTMENTTHREADED); });
    MeasureDecodeOverhead(plugin, images, pluginThread, bareThread, *bare,
                          "that already joined a single-threaded apartment");
    pluginThread.Run([&] { pluginApartment.reset(); });
    MeasureAnimationDecode(plugin, animations, pluginThread, bareThread, *bare);
    MeasureApngDecode(plugin, folder.Path(), pluginThread, bareThread, *bare);
    MeasureOrientation(plugin, folder.Path(), pluginThread);
    MeasureColour(plugin, folder.Path(), largeMegapixels, pluginThread, bareThread, *bare);
    MeasureHdr(plugin, pluginThread, bareThread);
    bareThread.Run([&] { bare.reset(); });
    MeasureAlpha(plugin, folder.Path(), largeMegapixels, pluginThread);
    if (decodeOnly)
    {
        return 0;
    }
    MeasureMemory(pluginPath, images);
    MeasureCatalogue(pluginPath, earlierPluginPath);
    MeasureThreadScaling(plugin, images[2]);
    return 0;
}

int RunApngBenchmark(const std::wstring& pluginPath)
{
    const PluginHost::PluginLibrary plugin(pluginPath);
    if (!plugin.getImageData)
    {
        throw std::runtime_error("the plug-in lacks GetImageData");
    }
    const Tests::ScratchFolder folder;
    WorkerThread pluginThread(WorkerThread::Com::None);
    WorkerThread bareThread(WorkerThread::Com::SingleThreadedApartment);
    std::optional<PluginHost::BareWicDecoder> bare;
    bareThread.Run([&] { bare.emplace(); });
    std::printf("%d warm-up and %d counted runs per contender, alternating.\n", warmUpRuns, countedRuns);
    MeasureApngDecode(plugin, folder.Path(), pluginThread, bareThread, *bare);
    bareThread.Run([&] { bare.reset(); });
    return 0;
}

} // namespace Tesmo::Benchmarks
