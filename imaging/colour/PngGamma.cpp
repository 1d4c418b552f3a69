#include "imaging/colour/PngGamma.h"

#include "imaging/colour/profile/IccNumbers.h"
#include "imaging/colour/profile/PowerCurveProfile.h"
#include "imaging/colour/SrgbSpace.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

// PNG stores gamma and chromaticities times 100000.
constexpr double pngUnit = 100000.0;
// The gAMA values libpng takes (a gamma of 0.00016 to 6250); it ignores the others.
constexpr std::uint32_t smallestGamma = 16;
constexpr std::uint32_t largestGamma = 625000000;
constexpr std::uint32_t gammaLength = 4;
constexpr std::uint32_t chromaticitiesLength = 32;

// PNG's colour types whose samples are grey, with or without alpha.
bool IsGrey(std::uint8_t colourType)
{
    return colourType == 0 || colourType == 4;
}

Chromaticities ReadChromaticities(const std::uint8_t* data)
{
    const auto xy = [&](int index) {
        return Chromaticities::Xy{BigEndian32(data + 8 * index) / pngUnit, BigEndian32(data + 8 * index + 4) / pngUnit};
    };
    return {xy(0), xy(1), xy(2), xy(3)};
}

} // namespace

std::optional<std::vector<std::uint8_t>> PngGammaProfile(const std::uint8_t* bytes, const std::vector<PngChunk>& chunks)
{
    if (chunks.empty() || chunks.front().type != PngChunkType("IHDR") || chunks.front().length < 10)
    {
        return std::nullopt;
    }
    const PngChunk* gamma = nullptr;
    const PngChunk* chromaticities = nullptr;
    for (const PngChunk& chunk : chunks)
    {
        if (chunk.type == PngChunkType("PLTE") || chunk.type == PngChunkType("IDAT"))
        {
            break;
        }
        if (chunk.type == PngChunkType("cICP") || chunk.type == PngChunkType("iCCP") ||
            chunk.type == PngChunkType("sRGB"))
        {
            return std::nullopt;
        }
        // A second gAMA or cHRM is ignored, as libpng ignores it.
        if (chunk.type == PngChunkType("gAMA") && gamma == nullptr)
        {
            gamma = &chunk;
        }
        else if (chunk.type == PngChunkType("cHRM") && chromaticities == nullptr)
        {
            chromaticities = &chunk;
        }
    }
    if (gamma == nullptr || gamma->length != gammaLength)
    {
        return std::nullopt;
    }
    const std::uint32_t stored = BigEndian32(bytes + gamma->dataOffset);
    if (stored < smallestGamma || stored > largestGamma)
    {
        return std::nullopt;
    }

    Xyz d50{};
    for (const Xyz& colorant : srgbColorants)
    {
        for (std::size_t component = 0; component < 3; ++component)
        {
            d50[component] += colorant[component];
        }
    }
    std::optional<std::array<Xyz, 3>> colorants;
    if (!IsGrey(bytes[chunks.front().dataOffset + 9]))
    {
        if (chromaticities != nullptr && chromaticities->length == chromaticitiesLength)
        {
            colorants = D50Colorants(ReadChromaticities(bytes + chromaticities->dataOffset), d50);
        }
        if (!colorants)
        {
            colorants = srgbColorants;
        }
    }
    return PowerCurveProfile(pngUnit / stored, colorants, d50);
}

} // namespace Tesmo::Plugin::Imaging
