// plugin-bench: measures an image-format plug-in DLL against bare WIC, the fastest a host
// could get from WIC itself, and prints every figure.

#include "Benchmark.h"
#include "Catalogue.h"
#include "HdrDecode.h"
#include "MemoryProbe.h"

#include <cstdio>
#include <cwchar>
#include <exception>
#include <string>

using namespace Tesmo::Benchmarks;

namespace
{

void PrintUsage()
{
    std::fputs("usage: plugin-bench PLUGIN.dll [all|decode|apng] [MEGAPIXELS] [EARLIER.dll]\n"
               "  measures the plug-in against bare WIC: decode time of single images, of GIF\n"
               "  animation frames and of animated PNG frames (apng: those alone), orientation, colour profiles and alpha, memory, catalogue calls and\n"
               "  thread scaling (all, the default), or the decode times only (decode); the large images\n"
               "  have 12 megapixels or MEGAPIXELS;\n"
               "  an earlier build of the plug-in has its extension list timed beside this one's;\n"
               "  the HDR decode is timed when PLUGIN_BENCH_HDR names a 64bppRGBAHalf JPEG XR\n"
               "usage: plugin-bench hdr-source OUT.tif [MEGAPIXELS]\n"
               "  writes the half-float RGBA TIFF that JPEG XR is made from\n",
               stderr);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try
    {
        if (argc == 5 && std::wstring(argv[1]) == memoryProbeCommand)
        {
            return RunMemoryProbe(argv[2], argv[3], argv[4]);
        }
        if ((argc == 3 || argc == 4) && std::wstring(argv[1]) == hdrSourceCommand)
        {
            const unsigned long megapixels = argc == 4 ? std::wcstoul(argv[3], nullptr, 10) : 12;
            return WriteHdrSource(argv[2], megapixels > 0 ? megapixels : 12);
        }
        if (argc == 3 && std::wstring(argv[1]) == catalogueProbeCommand)
        {
            return RunCatalogueProbe(argv[2]);
        }
        const std::wstring part = argc >= 3 ? argv[2] : L"all";
        if (argc == 3 && part == L"apng")
        {
            return RunApngBenchmark(argv[1]);
        }
        if (argc < 2 || argc > 5 || (part != L"all" && part != L"decode"))
        {
            PrintUsage();
            return 2;
        }
        const unsigned long megapixels = argc >= 4 ? std::wcstoul(argv[3], nullptr, 10) : 12;
        return RunBenchmark(argv[1], part == L"decode", megapixels > 0 ? megapixels : 12, argc == 5 ? argv[4] : L"");
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "plugin-bench: %s\n", error.what());
        return 1;
    }
}
