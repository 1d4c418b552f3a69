#include "imaging/PixelPlanning.h"

#include "imaging/colour/EmbeddedProfile.h"
#include "imaging/hdr/LightLevel.h"
#include "imaging/hdr/ScrgbStage.h"
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

bool IsJpegXr(IWICBitmapDecoder& decoder)
{
    GUID container{};
    return decoder.GetContainerFormat(&container) == S_OK && container == WicFormats::containerWmp;
}

// A linear-light frame, read from its own samples: tone mapped when its content is
// brighter than SDR white and the settings allow, then alpha over the background. No
// colour profile applies: these formats are scRGB by definition. The settings file is
// read only for a frame above SDR white, or one with alpha.
PixelPlan PlanScrgb(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame, const GUID& frameFormat,
                    const ScrgbFormat& format, const FrameSettings& settings)
{
    PixelPlan plan;
    plan.format = frameFormat;
    plan.fromFrame = true;
    plan.steps.layout = StripLayout::Scrgb;
    plan.steps.scrgbBytes = format.pixelBytes;
    const FrameLight light = MeasureFrameLight(frame, format);
    ScrgbMapping mapping;
    mapping.level = light.level > 1.0f && !settings.hdrClip() ? light.level : 1.0f;
    // Wine's JPEG XR decoder hands over alpha 0 in every pixel where the file holds 1.
    mapping.ignoreAlpha = format.alpha != ScrgbAlpha::None && !light.alphaSeen && IsJpegXr(decoder);
    mapping.keepAlpha = format.alpha != ScrgbAlpha::None && !mapping.ignoreAlpha && !settings.transparencyRaw();
    plan.steps.stages.push_back(MakeScrgbStage(format, mapping));
    if (mapping.keepAlpha)
    {
        plan.steps.stages.push_back(MakeCompositeStage(FrameAlpha::Straight, settings.background()));
    }
    return plan;
}

// The frame's own profile, or for a PNG frame without one, the profile its gAMA and cHRM
// describe.
std::optional<EmbeddedProfile> ReadProfile(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                                           IWICBitmapFrameDecode& frame, const wchar_t* path, const GUID& frameFormat)
{
    std::optional<EmbeddedProfile> profile = EmbeddedProfile::Read(factory, frame, frameFormat);
    if (!profile)
    {
        profile = EmbeddedProfile::ReadPngGamma(decoder, path, frameFormat);
    }
    return profile;
}

// Each step where it applies, for samples of frameFormat with the alpha the frame has.
PixelPlan Plan(const GUID& frameFormat, FrameAlpha alpha, std::optional<EmbeddedProfile> profile,
               const FrameSettings& settings)
{
    PixelPlan plan;
    plan.format = WicFormats::pixel24bppRgb;
    if (alpha != FrameAlpha::None && settings.transparencyRaw())
    {
        alpha = FrameAlpha::None;
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

} // namespace

PixelPlan PlanPixels(IWICImagingFactory& factory, IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
                     const wchar_t* path, const FrameSettings& settings)
{
    GUID frameFormat{};
    if (frame.GetPixelFormat(&frameFormat) != S_OK)
    {
        PixelPlan plan;
        plan.format = WicFormats::pixel24bppRgb;
        return plan; // the converter, as ever, says what it makes of the frame
    }
    if (const ScrgbFormat* scrgb = FindScrgbFormat(frameFormat))
    {
        return PlanScrgb(decoder, frame, frameFormat, *scrgb, settings);
    }
    const FrameAlpha alpha = ReadFrameAlpha(factory, decoder, frame, frameFormat);
    return Plan(frameFormat, alpha, ReadProfile(factory, decoder, frame, path, frameFormat), settings);
}

PixelPlan PlanCanvasPixels(IWICImagingFactory& factory, IWICBitmapDecoder* profileDecoder,
                           IWICBitmapFrameDecode* profileFrame, const wchar_t* path, const FrameSettings& settings)
{
    std::optional<EmbeddedProfile> profile;
    GUID profileFormat{};
    if (profileDecoder != nullptr && profileFrame != nullptr && profileFrame->GetPixelFormat(&profileFormat) == S_OK)
    {
        profile = ReadProfile(factory, *profileDecoder, *profileFrame, path, profileFormat);
    }
    return Plan(WicFormats::pixel32bppBgra, FrameAlpha::Straight, std::move(profile), settings);
}

} // namespace Tesmo::Plugin::Imaging
