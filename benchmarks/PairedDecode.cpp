#include "PairedDecode.h"

#include "Contenders.h"
#include "hosting/AnsiPath.h"
#include "hosting/ImageDataCall.h"
#include "support/FileBytes.h"

#include <windows.h>

#include <stdexcept>

namespace Tesmo::Benchmarks
{

namespace
{

// A file written for one pair and removed when the pair is done with it.
class WrittenFile
{
public:
    WrittenFile(const std::wstring& folder, const PairFile& file) : path(folder + L"\\" + file.name)
    {
        Tests::WriteFileBytes(path, file.bytes);
    }
    virtual ~WrittenFile() { DeleteFileW(path.c_str()); }
    WrittenFile(const WrittenFile&) = delete;
    WrittenFile& operator=(const WrittenFile&) = delete;

    std::string AnsiPath() const { return PluginHost::AnsiPath(path); }

private:
    std::wstring path;
};

std::string DecodedPixels(const PluginHost::PluginLibrary& plugin, WorkerThread& pluginThread,
                          const std::string& path, unsigned int width, unsigned int height)
{
    std::string pixels;
    pluginThread.Run([&] {
        const PluginHost::ImageDataCall call(plugin, path, 0, PluginHost::ImageDataCall::DebugMessages::Ignored);
        if (call.result != 0 || call.width != width || call.height != height)
        {
            throw std::runtime_error("the plug-in did not hand over " + path + " whole");
        }
        pixels = call.Bytes();
    });
    return pixels;
}

} // namespace

Comparison TimePluginPair(const PluginHost::PluginLibrary& plugin, WorkerThread& pluginThread,
                          const std::string& subject, const std::string& reference)
{
    return TimeAlternating([&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, subject, 0); }); },
                           [&] { pluginThread.Run([&] { DecodeWithPlugin(plugin, reference, 0); }); });
}

Comparison TimeWrittenPair(const PluginHost::PluginLibrary& plugin, WorkerThread& pluginThread,
                           const std::wstring& folder, const PairFile& subject, const PairFile& reference,
                           unsigned int width, unsigned int height, StepEffect effect)
{
    const WrittenFile subjectFile(folder, subject);
    const WrittenFile referenceFile(folder, reference);
    const std::string subjectPath = subjectFile.AnsiPath();
    const std::string referencePath = referenceFile.AnsiPath();
    const bool changed = DecodedPixels(plugin, pluginThread, subjectPath, width, height) !=
                         DecodedPixels(plugin, pluginThread, referencePath, width, height);
    if (effect == StepEffect::ChangesPixels && !changed)
    {
        throw std::runtime_error("the plug-in handed over " + subjectPath + " as if it were " + referencePath);
    }
    return TimePluginPair(plugin, pluginThread, subjectPath, referencePath);
}

} // namespace Tesmo::Benchmarks
