#include "OrientationDecode.h"

#include "BenchmarkImages.h"
#include "ComparisonTable.h"
#include "Contenders.h"
#include "PairedDecode.h"
#include "hosting/AnsiPath.h"
#include "hosting/TiffEncoder.h"
#include "support/FileBytes.h"

#include <cstdio>
#include <stdexcept>

namespace Tesmo::Benchmarks
{

namespace
{

constexpr unsigned int storedWidth = 4000;
constexpr unsigned int storedHeight = 3000;

std::string WritePhoto(const std::wstring& path, const std::string& rgb, unsigned int orientation)
{
    Tests::WriteFileBytes(path, PluginHost::EncodeTiff({{storedWidth, storedHeight, rgb, {{orientation}}}}));
    return PluginHost::AnsiPath(path);
}

} // namespace

void MeasureOrientation(const PluginHost::PluginLibrary& plugin, const std::wstring& folder,
                        WorkerThread& pluginThread)
{
    const std::vector<BYTE> pixels = PhotoLikePixels(storedWidth, storedHeight, 3);
    const std::string rgb(pixels.begin(), pixels.end());
    const std::string upright = WritePhoto(folder + L"\\upright.tif", rgb, 1);
    const std::string turned = WritePhoto(folder + L"\\turned.tif", rgb, 6);

    FrameSize turnedSize;
    pluginThread.Run([&] { turnedSize = DecodeWithPlugin(plugin, turned, 0); });
    if (turnedSize.width != storedHeight || turnedSize.height != storedWidth)
    {
        throw std::runtime_error("the plug-in did not turn a photo tagged 6 upright");
    }
    const Comparison times = TimePluginPair(plugin, pluginThread, turned, upright);

    std::printf("\nPhoto orientation: a %u x %u TIFF page through the plug-in, tagged 6 (handed over turned,\n"
                "%u x %u) against the same stored pixels tagged 1 (handed over as stored)\n",
                storedWidth, storedHeight, storedHeight, storedWidth);
    ComparisonTable(0, "", "turned ms (min-max)", "upright ms (min-max)", false).PrintRow("", times);
}

} // namespace Tesmo::Benchmarks
