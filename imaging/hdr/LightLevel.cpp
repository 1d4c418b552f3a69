#include "imaging/hdr/LightLevel.h"

#include "imaging/hdr/ScrgbPixels.h"
#include "imaging/StripWalker.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// Positive finite floats' bits, shifted, name the bins; 0 and what is not positive land in
// the first.
constexpr unsigned int binShift = 13;
constexpr std::uint32_t infinityBits = 0x7F800000;
constexpr std::size_t binCount = infinityBits >> binShift;

// Left out at the top: one in ten thousand.
constexpr std::uint64_t leftOutPerMillion = 100;

class LightLevelStage final : public StripStage
{
public:
    LightLevelStage(const ScrgbFormat& format, LightHistogram& histogram) : format(format), histogram(histogram)
    {
    }

    void Run(std::uint8_t* strip, std::size_t count) const override
    {
        if (format.sample == ScrgbSample::Half)
        {
            RunHalves(strip, count);
            return;
        }
        LinearPixel pixels[chunk];
        for (std::size_t done = 0; done < count; done += chunk)
        {
            const std::size_t now = std::min(chunk, count - done);
            ReadLinearPixels(format, strip + done * format.pixelBytes, now, false, pixels);
            for (std::size_t index = 0; index < now; ++index)
            {
                const LinearPixel& pixel = pixels[index];
                histogram.Add(std::max({pixel.red, pixel.green, pixel.blue}));
                histogram.alphaSeen = histogram.alphaSeen || pixel.alpha > 0.0f;
            }
        }
    }

private:
    // Positive half floats order as their bits do (NaN above infinity): the largest
    // channel is found in whole numbers and only it converted, a third of the work.
    void RunHalves(const std::uint8_t* strip, std::size_t count) const
    {
        constexpr std::uint16_t infinity = 0x7C00;
        const bool hasAlpha = format.alpha != ScrgbAlpha::None;
        for (std::size_t index = 0; index < count; ++index, strip += format.pixelBytes)
        {
            std::uint16_t largest = 0;
            for (unsigned int channel = 0; channel < format.colours; ++channel)
            {
                const auto half = static_cast<std::uint16_t>(strip[2 * channel] | strip[2 * channel + 1] << 8);
                largest = half <= infinity && half > largest ? half : largest;
            }
            histogram.Add(HalfColour(largest));
            if (hasAlpha)
            {
                const auto alpha = static_cast<std::uint16_t>(strip[6] | strip[7] << 8);
                histogram.alphaSeen = histogram.alphaSeen || (alpha != 0 && alpha <= infinity);
            }
        }
    }

    static constexpr std::size_t chunk = 256;
    const ScrgbFormat& format;
    LightHistogram& histogram;
};

} // namespace

LightHistogram::LightHistogram() : counts(binCount, 0)
{
}

void LightHistogram::Add(float largestChannel)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &largestChannel, sizeof bits);
    // Colours arrive at least 0 and finite: the sign bit is clear and the bin in range.
    ++counts[std::min<std::size_t>(bits >> binShift, binCount - 1)];
    ++total;
}

float LightHistogram::Level() const
{
    // The value with this many at or below it, counted from 1.
    const std::uint64_t rank = total - total * leftOutPerMillion / 1000000;
    std::uint64_t seen = 0;
    for (std::size_t bin = 0; bin < binCount; ++bin)
    {
        seen += counts[bin];
        if (seen >= rank && seen > 0)
        {
            const auto bits = static_cast<std::uint32_t>(bin << binShift);
            float level = 0.0f;
            std::memcpy(&level, &bits, sizeof level);
            return level;
        }
    }
    return 0.0f;
}

FrameLight MeasureFrameLight(IWICBitmapSource& frame, const ScrgbFormat& format)
{
    UINT width = 0;
    UINT height = 0;
    if (frame.GetSize(&width, &height) != S_OK)
    {
        return {};
    }
    try
    {
        LightHistogram histogram;
        PixelSteps steps;
        steps.layout = StripLayout::Scrgb;
        steps.scrgbBytes = format.pixelBytes;
        steps.stages.push_back(std::make_unique<LightLevelStage>(format, histogram));
        if (ScanStrips(frame, width, height, steps) != S_OK)
        {
            return {};
        }
        return {histogram.Level(), histogram.alphaSeen};
    }
    catch (const std::bad_alloc&)
    {
        return {};
    }
}

} // namespace Tesmo::Plugin::Imaging
