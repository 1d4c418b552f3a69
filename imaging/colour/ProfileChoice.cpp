#include "imaging/colour/ProfileChoice.h"

#include "imaging/colour/ColourStage.h"
#include "imaging/colour/MatrixShaper.h"
#include "imaging/colour/profile/IccNumbers.h"
#include "imaging/colour/SrgbSpace.h"

namespace Tesmo::Plugin::Imaging
{

namespace
{

// The kinds of profile that describe how a device's numbers look.
bool DescribesDevice(const IccProfile& profile)
{
    const std::uint32_t kind = profile.DeviceClass();
    return kind == Signature("scnr") || kind == Signature("mntr") || kind == Signature("prtr") ||
           kind == Signature("spac");
}

// Tone curves and a matrix, run exactly by tables; a profile with tables as well is run by
// its tables, as ICC engines take them first.
bool IsMatrixShaper(const IccProfile& profile)
{
    return profile.ConnectionSpace() == Signature("XYZ ") && !profile.HasTag(Signature("A2B0"));
}

} // namespace

bool ChangesFrame(const IccProfile& profile, bool cmykFrame)
{
    if (!DescribesDevice(profile) || DescribesSrgb(profile))
    {
        return false;
    }
    const std::uint32_t space = profile.ColourSpace();
    return space == Signature("CMYK") ? cmykFrame
                                      : (space == Signature("RGB ") || space == Signature("GRAY")) && !cmykFrame;
}

std::uint32_t SampleLevels(StripLayout layout)
{
    return layout == StripLayout::Rgb24 || layout == StripLayout::Bgra32 || layout == StripLayout::Cmyk32 ? 256 : 65536;
}

std::unique_ptr<StripStage> MatrixStage(const IccProfile& profile, StripLayout from, StripLayout to)
{
    if (!IsMatrixShaper(profile))
    {
        return nullptr;
    }
    std::optional<MatrixShaper> shaper = MatrixShaper::FromProfile(profile, SampleLevels(from));
    return shaper ? MakeColourStage(std::move(*shaper), from, to) : nullptr;
}

} // namespace Tesmo::Plugin::Imaging
