#include "imaging/hdr/ScrgbFormats.h"

#include "imaging/WicFormats.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

constexpr std::size_t SampleBytes(ScrgbSample sample)
{
    switch (sample)
    {
    case ScrgbSample::Half:
    case ScrgbSample::Fixed16:
        return 2;
    default:
        return 4; // an RGBE pixel is one four-byte slot
    }
}

struct KnownFormat
{
    GUID id;
    ScrgbFormat format;
};

constexpr KnownFormat Known(const GUID& id, ScrgbSample sample, unsigned int colours, unsigned int slots,
                            ScrgbAlpha alpha = ScrgbAlpha::None)
{
    return {id, {sample, colours, slots, alpha, SampleBytes(sample) * slots}};
}

using WicFormats::BasePixelFormat;

constexpr GUID pixel96bppRgbFloat = {0xe3fed78f, 0xe8db, 0x4acf, {0x84, 0xc1, 0xe9, 0x7f, 0x61, 0x36, 0xb3, 0x27}};
constexpr GUID pixel64bppPrgbaHalf = {0x58ad26c2, 0xc623, 0x4d9d, {0xb3, 0x20, 0x38, 0x7e, 0x49, 0xf8, 0xc4, 0x42}};

constexpr KnownFormat knownFormats[] = {
    Known(BasePixelFormat(0x19), ScrgbSample::Float, 3, 4, ScrgbAlpha::Straight),      // 128bppRGBAFloat
    Known(BasePixelFormat(0x1a), ScrgbSample::Float, 3, 4, ScrgbAlpha::Premultiplied), // 128bppPRGBAFloat
    Known(BasePixelFormat(0x1b), ScrgbSample::Float, 3, 4),                            // 128bppRGBFloat
    Known(pixel96bppRgbFloat, ScrgbSample::Float, 3, 3),                               // 96bppRGBFloat
    Known(BasePixelFormat(0x11), ScrgbSample::Float, 1, 1),                            // 32bppGrayFloat
    Known(BasePixelFormat(0x3a), ScrgbSample::Half, 3, 4, ScrgbAlpha::Straight),       // 64bppRGBAHalf
    Known(pixel64bppPrgbaHalf, ScrgbSample::Half, 3, 4, ScrgbAlpha::Premultiplied),    // 64bppPRGBAHalf
    Known(BasePixelFormat(0x42), ScrgbSample::Half, 3, 4),                             // 64bppRGBHalf
    Known(BasePixelFormat(0x3b), ScrgbSample::Half, 3, 3),                             // 48bppRGBHalf
    Known(BasePixelFormat(0x3e), ScrgbSample::Half, 1, 1),                             // 16bppGrayHalf
    Known(BasePixelFormat(0x12), ScrgbSample::Fixed16, 3, 3),                          // 48bppRGBFixedPoint
    Known(BasePixelFormat(0x1d), ScrgbSample::Fixed16, 3, 4, ScrgbAlpha::Straight),    // 64bppRGBAFixedPoint
    Known(BasePixelFormat(0x40), ScrgbSample::Fixed16, 3, 4),                          // 64bppRGBFixedPoint
    Known(BasePixelFormat(0x13), ScrgbSample::Fixed16, 1, 1),                          // 16bppGrayFixedPoint
    Known(BasePixelFormat(0x18), ScrgbSample::Fixed32, 3, 3),                          // 96bppRGBFixedPoint
    Known(BasePixelFormat(0x1e), ScrgbSample::Fixed32, 3, 4, ScrgbAlpha::Straight),    // 128bppRGBAFixedPoint
    Known(BasePixelFormat(0x41), ScrgbSample::Fixed32, 3, 4),                          // 128bppRGBFixedPoint
    Known(BasePixelFormat(0x3f), ScrgbSample::Fixed32, 1, 1),                          // 32bppGrayFixedPoint
    Known(BasePixelFormat(0x3d), ScrgbSample::Rgbe, 3, 1),                             // 32bppRGBE
};

} // namespace

const ScrgbFormat* FindScrgbFormat(const GUID& pixelFormat)
{
    for (const KnownFormat& known : knownFormats)
    {
        if (known.id == pixelFormat)
        {
            return &known.format;
        }
    }
    return nullptr;
}

} // namespace Tesmo::Plugin::Imaging
