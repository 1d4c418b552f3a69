#include "imaging/PixelPlanning.h"

#include "imaging/colour/EmbeddedProfile.h"
#include "imaging/WicFormats.h"

#include <optional>

namespace Tesmo::Plugin::Imaging
{

namespace
{

void ReadAs(PixelPlan& plan, StripLayout layout, const GUID& format, const GUID& frameFormat)
{
    plan.steps.layout = layout;
    plan.format = format;
    plan.fromFrame = format == frameFormat;
}

// The colour step, reading the frame's own 16-bit or CMYK samples where it has them, and
// 8-bit RGB or BGRA through the converter otherwise. False when the profile cannot be used
// after all: the plan is then left as it was.
bool PlanColour(PixelPlan& plan, const EmbeddedProfile& profile, const GUID& frameFormat, bool keepAlpha)
{
    PixelPlan colour;
    if (profile.IsCmyk())
    {
        const bool words = frameFormat == WicFormats::pixel64bppCmyk;
        ReadAs(colour, words ? StripLayout::Cmyk64 : StripLayout::Cmyk32, frameFormat, frameFormat);
    }
    else if (frameFormat == WicFormats::pixel48bppRgb)
    {
        ReadAs(colour, StripLayout::Rgb48, frameFormat, frameFormat);
    }
    else if (frameFormat == WicFormats::pixel64bppRgba)
    {
        ReadAs(colour, StripLayout::Rgba64, frameFormat, frameFormat);
    }
    else if (frameFormat == WicFormats::pixel16bppGray)
    {
        ReadAs(colour, StripLayout::Gray16, frameFormat, frameFormat);
    }
    else if (keepAlpha)
    {
        ReadAs(colour, StripLayout::Bgra32, WicFormats::pixel32bppBgra, frameFormat);
    }
    else
    {
        ReadAs(colour, StripLayout::Rgb24, WicFormats::pixel24bppRgb, frameFormat);
    }
    const bool hasAlpha = colour.steps.layout == StripLayout::Bgra32 || colour.steps.layout == StripLayout::Rgba64;
    std::unique_ptr<StripStage> stage =
        profile.Stage(colour.steps.layout, keepAlpha && hasAlpha ? StripLayout::Bgra32 : StripLayout::Rgb24);
    if (stage == nullptr)
    {
        return false;
    }
    colour.steps.stages.push_back(std::move(stage));
    plan = std::move(colour);
    return true;
}

} // namespace

PixelPlan PlanPixels(IWICImagingFactory& factory, IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                     const wchar_t* path, const FrameSettings& settings)
{
    PixelPlan plan;
    plan.format = WicFormats::pixel24bppRgb;
    GUID frameFormat{};
    if (frame.GetPixelFormat(&frameFormat) != S_OK)
    {
        return plan; // the converter, as ever, says what it makes of the frame
    }

    FrameAlpha alpha = ReadFrameAlpha(factory, decoder, frame, frameFormat);
    if (alpha != FrameAlpha::None && settings.transparencyRaw())
    {
        alpha = FrameAlpha::None;
    }
    std::optional<EmbeddedProfile> profile = EmbeddedProfile::Read(factory, frame, frameFormat);
    if (!profile)
    {
        profile = EmbeddedProfile::ReadPngGamma(decoder, path, frameFormat);
    }
    if (profile && settings.profileRaw())
    {
        profile.reset();
    }

    if (profile && PlanColour(plan, *profile, frameFormat, alpha != FrameAlpha::None))
    {
        // The colour step keeps alpha, straight whatever the frame stores, from the layouts
        // that hold it.
        const bool alphaKept = plan.steps.layout == StripLayout::Bgra32 || plan.steps.layout == StripLayout::Rgba64;
        alpha = alpha != FrameAlpha::None && alphaKept ? FrameAlpha::Straight : FrameAlpha::None;
    }
    else if (alpha == FrameAlpha::Straight)
    {
        ReadAs(plan, StripLayout::Bgra32, WicFormats::pixel32bppBgra, frameFormat);
    }
    else if (alpha == FrameAlpha::Premultiplied)
    {
        ReadAs(plan, StripLayout::Pbgra32, WicFormats::pixel32bppPbgra, frameFormat);
    }
    if (alpha != FrameAlpha::None)
    {
        plan.steps.stages.push_back(MakeCompositeStage(alpha, settings.background()));
    }
    return plan;
}

} // namespace Tesmo::Plugin::Imaging
