#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include <string>

namespace Tesmo::PluginHost
{

// A frame as a host gets it from WIC itself, without the plug-in: the same calls the
// plug-in makes for a frame WIC hands over as it is (a GIF frame comes raw, not composed),
// with one imaging factory created up front and reused. The benchmark's fastest
// contender and the tests' reference for frames that stay raw. The calling thread must
// have joined a COM apartment before construction.
class BareWicDecoder
{
public:
    BareWicDecoder();
    virtual ~BareWicDecoder() = default;

    // Decodes one frame to packed 24-bit RGB in a malloc'ed buffer the caller frees;
    // false when any WIC call fails.
    bool Decode(const std::wstring& path, unsigned int frameIndex, unsigned int& width, unsigned int& height,
                void*& pixels, unsigned int& byteCount) const;

private:
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory;
};

} // namespace Tesmo::PluginHost
