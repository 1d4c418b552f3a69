#include "imaging/colour/EmbeddedProfile.h"

#include "imaging/colour/engine/EngineSampling.h"
#include "imaging/colour/PngGamma.h"
#include "imaging/colour/ProfileChoice.h"
#include "imaging/colour/profile/IccProfile.h"
#include "imaging/FileBytes.h"
#include "imaging/WicFormats.h"

#include <wrl/client.h>

#include <new>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

// More than the head of any PNG that is not built to waste memory: IHDR, colour and text
// chunks, a large profile.
constexpr std::uint64_t longestPngHead = 8u << 20;

// More colour contexts than any codec gives a frame; a count past it is not believed.
constexpr UINT mostContexts = 16;

bool IsCmykFormat(const GUID& format)
{
    return format == WicFormats::pixel32bppCmyk || format == WicFormats::pixel64bppCmyk;
}

bool ReadProfileBytes(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, std::vector<std::uint8_t>& bytes)
{
    UINT count = 0;
    if (frame.GetColorContexts(0, nullptr, &count) != S_OK || count == 0 || count > mostContexts)
    {
        return false;
    }
    ComPtr<IWICColorContext> contexts[mostContexts];
    IWICColorContext* raw[mostContexts] = {};
    for (UINT index = 0; index < count; ++index)
    {
        if (factory.CreateColorContext(&contexts[index]) != S_OK)
        {
            return false;
        }
        raw[index] = contexts[index].Get();
    }
    UINT given = 0;
    if (frame.GetColorContexts(count, raw, &given) != S_OK)
    {
        return false;
    }
    for (UINT index = 0; index < count && index < given; ++index)
    {
        WICColorContextType type{};
        UINT size = 0;
        if (contexts[index]->GetType(&type) != S_OK || type != WICColorContextProfile)
        {
            continue;
        }
        if (contexts[index]->GetProfileBytes(0, nullptr, &size) != S_OK || size == 0)
        {
            return false;
        }
        bytes.resize(size);
        UINT copied = 0;
        return contexts[index]->GetProfileBytes(size, bytes.data(), &copied) == S_OK && copied == size;
    }
    return false;
}

} // namespace

std::optional<EmbeddedProfile> EmbeddedProfile::Read(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame,
                                                     const GUID& frameFormat)
{
    std::vector<std::uint8_t> bytes;
    try
    {
        if (!ReadProfileBytes(factory, frame, bytes))
        {
            return std::nullopt;
        }
    }
    catch (const std::bad_alloc&)
    {
        return std::nullopt; // a profile larger than memory allows is left unused
    }
    const std::optional<IccProfile> profile = IccProfile::Read(bytes.data(), bytes.size());
    if (!profile || !ChangesFrame(*profile, IsCmykFormat(frameFormat)))
    {
        return std::nullopt;
    }
    return EmbeddedProfile(std::move(bytes), profile->ColourSpace());
}

// A pure 2.2 power is not sRGB's curve, though near it: such a file converts too. PNG
// frames are never CMYK, and the profile is RGB or GRAY.
std::optional<EmbeddedProfile> EmbeddedProfile::ReadPngGamma(IWICBitmapDecoder& decoder, const wchar_t* path,
                                                             const GUID& frameFormat)
{
    GUID container{};
    if (path == nullptr || IsCmykFormat(frameFormat) || decoder.GetContainerFormat(&container) != S_OK ||
        container != WicFormats::containerPng)
    {
        return std::nullopt;
    }
    try
    {
        const std::optional<PngHead> head = ReadPngHead(path, longestPngHead);
        std::optional<std::vector<std::uint8_t>> bytes;
        if (head)
        {
            bytes = PngGammaProfile(head->bytes.data(), head->chunks);
        }
        const std::optional<IccProfile> profile =
            bytes ? IccProfile::Read(bytes->data(), bytes->size()) : std::nullopt;
        if (!profile)
        {
            return std::nullopt;
        }
        const std::uint32_t space = profile->ColourSpace();
        return EmbeddedProfile(std::move(*bytes), space);
    }
    catch (const std::bad_alloc&)
    {
        return std::nullopt;
    }
}

std::unique_ptr<StripStage> EmbeddedProfile::Stage(StripLayout from, StripLayout to) const
{
    const std::optional<IccProfile> profile = IccProfile::Read(bytes.data(), bytes.size());
    if (!profile)
    {
        return nullptr;
    }
    if (std::unique_ptr<StripStage> stage = MatrixStage(*profile, from, to))
    {
        return stage;
    }
    return SampledStage(bytes, profile->ColourSpace(), SampleLevels(from), from, to);
}

} // namespace Tesmo::Plugin::Imaging
