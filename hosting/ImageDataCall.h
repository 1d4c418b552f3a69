#pragma once

#include "hosting/AnsiPath.h"
#include "hosting/PluginLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// One GetImageData call made the way a host makes it: the one decode-and-free call site of
// the host tool, the tests and the benchmark. Every output starts out holding a marker, so
// the caller sees which ones the call wrote; the debugger messages the call sent are
// recorded unless the caller declines; a buffer the call handed over is released with the
// runtime's free.
class ImageDataCall
{
public:
    static constexpr unsigned int unwritten = 0xA5A5A5A5u;
    static void* UnwrittenPointer() { return reinterpret_cast<void*>(std::uintptr_t{0xA5A5A5A5u}); }

    // Capturing installs a vectored exception handler around the call; a caller that times
    // the plug-in skips it, so the plug-in is not billed for the host's own work.
    enum class DebugMessages
    {
        Captured,
        Ignored, // messages stays empty
    };

    // path: in the system's ANSI code page, as AnsiPath gives it.
    ImageDataCall(const PluginLibrary& plugin, const std::string& path, unsigned int frameIndex,
                  DebugMessages debugMessages = DebugMessages::Captured);
    virtual ~ImageDataCall();
    ImageDataCall(const ImageDataCall&) = delete;
    ImageDataCall& operator=(const ImageDataCall&) = delete;

    // The buffer's bytes (byteCount of them); empty when no buffer was handed over.
    std::string Bytes() const;

    int result = 0;
    unsigned int frameCount = unwritten;
    unsigned int width = unwritten;
    unsigned int height = unwritten;
    void* pixels = UnwrittenPointer();
    unsigned int byteCount = unwritten;
    std::vector<std::wstring> messages;
};

} // namespace Tesmo::PluginHost
