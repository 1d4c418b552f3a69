#include "Benchmark.h"

#include "AnsiPath.h"
#include "BareWicDecoder.h"
#include "BenchmarkImages.h"
#include "PluginLibrary.h"
#include "ScratchFolder.h"
#include "ScratchClassesRoot.h"
#include "Statistics.h"
#include "WorkerThread.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace Tesmo::PluginHost
{

namespace
{

constexpr int warmUpRuns = 2;
constexpr int countedRuns = 15;
constexpr int catalogueRuns = 31;
constexpr int decodesPerThread = 20;

double MillisecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void DecodeWithPlugin(const PluginLibrary& plugin, const std::string& path)
{
    unsigned int frameCount = 0, width = 0, height = 0, byteCount = 0;
    void* pixels = nullptr;
    const int result = plugin.getImageData(path.c_str(), 0, &frameCount, &width, &height, &pixels, &byteCount);
    std::free(pixels);
    if (result != 0)
    {
        throw std::runtime_error("the plug-in failed to decode " + path);
    }
}

void DecodeBare(const BareWicDecoder& bare, const std::wstring& path)
{
    unsigned int width = 0, height = 0, byteCount = 0;
    void* pixels = nullptr;
    const bool decoded = bare.Decode(path, 0, width, height, pixels, byteCount);
    std::free(pixels);
    if (!decoded)
    {
        throw std::runtime_error("bare WIC failed to decode a benchmark image");
    }
}

void MeasureDecodeOverhead(const PluginLibrary& plugin, const std::vector<BenchmarkImage>& images,
                           WorkerThread& pluginThread, WorkerThread& bareThread, const BareWicDecoder& bare,
                           const char* title)
{
    std::printf("\nDecode, frame 0: plug-in on a thread %s; bare WIC with one reused factory\n", title);
    std::printf("  %-11s %26s %26s %7s %10s\n", "image", "plug-in ms (min-max)", "bare ms (min-max)", "ratio",
                "overhead");
    for (const BenchmarkImage& image : images)
    {
        const std::string narrowPath = AnsiPath(image.path);
        const auto pluginRun = [&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, narrowPath); }); };
        const auto bareRun = [&] { bareThread.Run([&] { DecodeBare(bare, image.path); }); };
        for (int run = 0; run < warmUpRuns; ++run)
        {
            pluginRun();
            bareRun();
        }
        std::vector<double> pluginTimes, bareTimes;
        for (int run = 0; run < countedRuns; ++run)
        {
            // Alternate which contender goes first, so neither always meets a warm cache.
            if (run % 2 == 0)
            {
                pluginTimes.push_back(MillisecondsOf(pluginRun));
                bareTimes.push_back(MillisecondsOf(bareRun));
            }
            else
            {
                bareTimes.push_back(MillisecondsOf(bareRun));
                pluginTimes.push_back(MillisecondsOf(pluginRun));
            }
        }
        const Summary ours = Summarise(pluginTimes);
        const Summary theirs = Summarise(bareTimes);
        std::printf("  %-11ls %10.3f (%6.3f-%7.3f) %10.3f (%6.3f-%7.3f) %7.3f %7.3f ms\n", image.label.c_str(),
                    ours.median, ours.minimum, ours.maximum, theirs.median, theirs.minimum, theirs.maximum,
                    ours.median / theirs.median, ours.median - theirs.median);
    }
}

struct MemoryProbe
{
    unsigned long long before = 0;
    unsigned long long peak = 0;
};

MemoryProbe ProbeInChild(const std::wstring& pluginPath, const std::wstring& imagePath, const wchar_t* contender)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" memory-probe \"" + pluginPath + L"\" \"" +
                               imagePath + L"\" " + contender;

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
    {
        throw std::runtime_error("cannot create a pipe");
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &child);
    CloseHandle(writeEnd);
    if (!started)
    {
        CloseHandle(readEnd);
        throw std::runtime_error("cannot start the memory probe");
    }
    std::string output;
    char chunk[256];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
    {
        output.append(chunk, got);
    }
    CloseHandle(readEnd);
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    MemoryProbe probe;
    if (std::sscanf(output.c_str(), "%llu %llu", &probe.before, &probe.peak) != 2)
    {
        throw std::runtime_error("the memory probe failed: " + output);
    }
    return probe;
}

void MeasureMemory(const std::wstring& pluginPath, const std::vector<BenchmarkImage>& images)
{
    std::printf("\nMemory: peak working set during one decode, above the working set before it (own processes)\n");
    std::printf("  %-11s %12s %12s %12s %12s %10s\n", "image", "plug-in MB", "bare MB", "difference", "buffer MB",
                "of buffer");
    for (const BenchmarkImage& image : images)
    {
        if (image.width * image.height < 2'000'000)
        {
            continue; // the small images' buffers are lost in the heap's own slack
        }
        const MemoryProbe ours = ProbeInChild(pluginPath, image.path, L"plugin");
        const MemoryProbe theirs = ProbeInChild(pluginPath, image.path, L"bare");
        constexpr double megabyte = 1024.0 * 1024.0;
        const double pluginGrowth = (static_cast<double>(ours.peak) - ours.before) / megabyte;
        const double bareGrowth = (static_cast<double>(theirs.peak) - theirs.before) / megabyte;
        const double buffer = 3.0 * image.width * image.height / megabyte;
        std::printf("  %-11ls %12.1f %12.1f %12.1f %12.1f %9.1f%%\n", image.label.c_str(), pluginGrowth, bareGrowth,
                    pluginGrowth - bareGrowth, buffer, 100.0 * (pluginGrowth - bareGrowth) / buffer);
    }
}

double MedianMilliseconds(const std::function<void()>& call)
{
    call();
    std::vector<double> times;
    for (int run = 0; run < catalogueRuns; ++run)
    {
        times.push_back(MillisecondsOf(call));
    }
    return Summarise(times).median;
}

void MeasureCatalogue(const std::wstring& pluginPath)
{
    std::printf("\nCatalogue: median of %d calls, ms\n", catalogueRuns);
    std::printf("  %-36s %24s %16s\n", "situation", "GetSupportedExtensions", "GetDisplayName");

    const ScratchFolder folder;
    const std::wstring copyPath = folder / L"WicImagePlugin.dll";
    if (!CopyFileW(pluginPath.c_str(), copyPath.c_str(), FALSE))
    {
        throw std::runtime_error("cannot copy the plug-in");
    }
    const PluginLibrary plugin(copyPath);
    const auto measure = [&](const char* situation) {
        const double list = MedianMilliseconds([&] { std::free(plugin.getSupportedExtensions()); });
        const double name = MedianMilliseconds([&] {
            char buffer[64];
            plugin.getDisplayName(buffer, sizeof buffer);
        });
        std::printf("  %-36s %24.3f %16.3f\n", situation, list, name);
    };

    measure("no settings file");
    WriteUtf16File(folder / L"WicImagePlugin.ini",
                   L"[GUI]\r\nname=Benchmark images\r\n[Extensions]\r\ngif=excluded\r\nbmp=Excluded\r\ntiff=excluded\r\n");
    measure("settings file excluding 3 extensions");
    DeleteFileW((folder / L"WicImagePlugin.ini").c_str());

    const ScratchClassesRoot registry;
    for (int decoder = 0; decoder < 50; ++decoder)
    {
        const std::wstring number = std::to_wstring(decoder);
        registry.Register(CompleteDecoder(L"decoder-" + number, L".b" + number + L",.B" + number + L"x,.jpg,.common"));
    }
    measure("scratch registry of 50 decoders");
}

void MeasureThreads(const PluginLibrary& plugin, const BenchmarkImage& image)
{
    const std::string path = AnsiPath(image.path);
    const auto decodesPerSecond = [&](int threadCount) {
        DecodeWithPlugin(plugin, path);
        const double milliseconds = MillisecondsOf([&] {
            std::vector<std::thread> threads;
            for (int thread = 0; thread < threadCount; ++thread)
            {
                threads.emplace_back([&] {
                    for (int decode = 0; decode < decodesPerThread; ++decode)
                    {
                        DecodeWithPlugin(plugin, path);
                    }
                });
            }
            for (std::thread& thread : threads)
            {
                thread.join();
            }
        });
        return 1000.0 * threadCount * decodesPerThread / milliseconds;
    };
    const double one = decodesPerSecond(1);
    const double two = decodesPerSecond(2);
    std::printf("\nThreads: %ls, %d decodes per thread, threads without COM\n", image.label.c_str(),
                decodesPerThread);
    std::printf("  1 thread: %.1f decodes/s; 2 threads: %.1f decodes/s; scaling %.2fx (%u cores)\n", one, two,
                two / one, std::thread::hardware_concurrency());
}

} // namespace

int RunBenchmark(const std::wstring& pluginPath, bool decodeOnly, unsigned int largeMegapixels, bool onOneThread)
{
    const PluginLibrary plugin(pluginPath);
    if (!plugin.getImageData || !plugin.getSupportedExtensions || !plugin.getDisplayName)
    {
        throw std::runtime_error("the plug-in lacks one of its three exports");
    }
    const ScratchFolder folder;
    std::vector<BenchmarkImage> images;
    // Both contenders' threads live until the end: emulated 32-bit Wine does not survive
    // threads that come and go.
    const HRESULT callerJoined = onOneThread ? CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
    WorkerThread pluginThread(onOneThread ? WorkerThread::Com::CallersThread : WorkerThread::Com::None);
    WorkerThread bareThread(onOneThread ? WorkerThread::Com::CallersThread
                                        : WorkerThread::Com::SingleThreadedApartment);
    std::optional<BareWicDecoder> bare;
    std::printf("Writing the benchmark images with WIC's encoders...\n");
    std::fflush(stdout);
    bareThread.Run([&] {
        images = WriteBenchmarkImages(folder.Path(), largeMegapixels);
        bare.emplace();
    });
    std::printf("%d warm-up and %d counted runs per contender, alternating.\n", warmUpRuns, countedRuns);
    if (!onOneThread)
    {
        MeasureDecodeOverhead(plugin, images, pluginThread, bareThread, *bare, "with no COM");
        pluginThread.Run([] { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); });
    }
    MeasureDecodeOverhead(plugin, images, pluginThread, bareThread, *bare,
                          "that already joined a single-threaded apartment");
    if (!onOneThread)
    {
        pluginThread.Run([] { CoUninitialize(); });
    }
    bareThread.Run([&] { bare.reset(); });
    if (SUCCEEDED(callerJoined))
    {
        CoUninitialize();
    }
    if (decodeOnly)
    {
        return 0;
    }
    MeasureMemory(pluginPath, images);
    MeasureCatalogue(pluginPath);
    MeasureThreads(plugin, images[2]);
    return 0;
}

int RunMemoryProbe(const std::wstring& pluginPath, const std::wstring& imagePath, const std::wstring& contender)
{
    const PluginLibrary plugin(pluginPath);
    const auto workingSet = [] {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return counters;
    };
    const std::string narrowPath = AnsiPath(imagePath);
    MemoryProbe probe;
    if (contender == L"plugin")
    {
        // A first decode loads WIC and its codecs, which both contenders need alike.
        DecodeWithPlugin(plugin, narrowPath);
        probe.before = workingSet().WorkingSetSize;
        DecodeWithPlugin(plugin, narrowPath);
    }
    else
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
            const BareWicDecoder bare;
            DecodeBare(bare, imagePath);
            probe.before = workingSet().WorkingSetSize;
            DecodeBare(bare, imagePath);
        }
        CoUninitialize();
    }
    probe.peak = workingSet().PeakWorkingSetSize;
    std::printf("%llu %llu\n", probe.before, probe.peak);
    return 0;
}

} // namespace Tesmo::PluginHost
