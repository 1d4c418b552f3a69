#pragma once

#include "imaging/StripStage.h"

#include <wincodec.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// The ICC profile a frame's file embeds (PNG's iCCP, TIFF's tag 34675, JPEG's APP2, a Store
// codec's), as WIC gives it, when converting through it would change the frame's colours:
// an input, display, output or colour space profile of RGB, GRAY or CMYK data that does
// not describe sRGB, for a frame whose samples are of its colour space (CMYK profiles for
// CMYK frames only). WIC's colour contexts that are only an EXIF colour space say nothing
// a profile would not, and are passed over.
class EmbeddedProfile
{
public:
    // The frame's first profile context; nothing when it has none, or none that would
    // change it. A profile WIC cannot hand over, or that is no ICC profile, is none.
    static std::optional<EmbeddedProfile> Read(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame,
                                               const GUID& frameFormat);
    // For a PNG frame without a profile of its own: the one its gAMA and cHRM chunks
    // describe (see PngGamma.h), read from the head of the file at path only, which is
    // all a still PNG's colour chunks take. Nothing for any other container format.
    static std::optional<EmbeddedProfile> ReadPngGamma(IWICBitmapDecoder& decoder, const wchar_t* path,
                                                       const GUID& frameFormat);
    virtual ~EmbeddedProfile() = default;

    bool IsCmyk() const { return colourSpace == cmyk; }

    // The colour step for samples in layout from (8-bit layouts or 16-bit ones), leaving
    // layout to. Matrix-and-curves profiles convert exactly by tables; every other one
    // through Windows' colour engine, sampled once on a lattice. Null when the profile
    // cannot be used after all (the engine refuses it, say): the frame is then left as
    // stored.
    std::unique_ptr<StripStage> Stage(StripLayout from, StripLayout to) const;

private:
    static constexpr std::uint32_t cmyk = 0x434D594B; // 'CMYK'

    EmbeddedProfile(std::vector<std::uint8_t> bytes, std::uint32_t colourSpace)
        : bytes(std::move(bytes)), colourSpace(colourSpace)
    {
    }

    std::vector<std::uint8_t> bytes;
    std::uint32_t colourSpace;
};

} // namespace Tesmo::Plugin::Imaging
