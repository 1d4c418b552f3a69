#include "imaging/hdr/ScrgbStage.h"

#include "imaging/hdr/ScrgbPixels.h"
#include "imaging/hdr/SrgbLevels.h"
#include "imaging/hdr/ToneMapCurve.h"

#include <algorithm>
#include <optional>

namespace Tesmo::Plugin::Imaging
{

namespace
{

void ToneMap(LinearPixel& pixel, const ToneMapCurve& curve)
{
    const float luminance = 0.2126f * pixel.red + 0.7152f * pixel.green + 0.0722f * pixel.blue;
    if (!(luminance > 0.0f))
    {
        return; // black: colours are at least 0
    }
    const float mapped = curve(luminance);
    const float scale = mapped / luminance;
    float red = pixel.red * scale;
    float green = pixel.green * scale;
    float blue = pixel.blue * scale;
    const float largest = std::max({red, green, blue});
    if (largest > 1.0f)
    {
        // Toward grey of the same luminance, just far enough that the largest is 1.
        const float keep = (1.0f - mapped) / (largest - mapped);
        red = mapped + (red - mapped) * keep;
        green = mapped + (green - mapped) * keep;
        blue = mapped + (blue - mapped) * keep;
    }
    pixel = {red, green, blue, pixel.alpha};
}

class ScrgbStage final : public StripStage
{
public:
    ScrgbStage(const ScrgbFormat& format, const ScrgbMapping& mapping)
        : format(format), mapping(mapping), levels(SharedSrgbLevels()),
          outBytes(mapping.keepAlpha ? 4 : 3)
    {
        if (mapping.level > 1.0f)
        {
            curve.emplace(mapping.level);
        }
    }

    // In place: where a pixel read takes at least the bytes one written does, chunks are
    // done first to last, else last to first, so no chunk's output lands on samples not
    // yet read.
    void Run(std::uint8_t* strip, std::size_t count) const override
    {
        const std::size_t chunks = (count + chunk - 1) / chunk;
        const bool forward = format.pixelBytes >= outBytes;
        for (std::size_t done = 0; done < chunks; ++done)
        {
            const std::size_t first = (forward ? done : chunks - 1 - done) * chunk;
            RunChunk(strip, first, std::min(chunk, count - first));
        }
    }

private:
    void RunChunk(std::uint8_t* strip, std::size_t first, std::size_t count) const
    {
        LinearPixel pixels[chunk];
        ReadLinearPixels(format, strip + first * format.pixelBytes, count, mapping.ignoreAlpha, pixels);
        std::uint8_t* out = strip + first * outBytes;
        for (std::size_t index = 0; index < count; ++index, out += outBytes)
        {
            LinearPixel& pixel = pixels[index];
            if (curve)
            {
                ToneMap(pixel, *curve);
            }
            if (mapping.keepAlpha)
            {
                out[0] = levels(pixel.blue);
                out[1] = levels(pixel.green);
                out[2] = levels(pixel.red);
                out[3] = static_cast<std::uint8_t>(pixel.alpha * 255.0f + 0.5f); // alpha is 0 to 1
            }
            else
            {
                out[0] = levels(pixel.red);
                out[1] = levels(pixel.green);
                out[2] = levels(pixel.blue);
            }
        }
    }

    static constexpr std::size_t chunk = 256;
    const ScrgbFormat& format;
    const ScrgbMapping mapping;
    const SrgbLevels& levels;
    const std::size_t outBytes;
    std::optional<ToneMapCurve> curve;
};

} // namespace

std::unique_ptr<StripStage> MakeScrgbStage(const ScrgbFormat& format, const ScrgbMapping& mapping)
{
    return std::make_unique<ScrgbStage>(format, mapping);
}

} // namespace Tesmo::Plugin::Imaging
