#include "imaging/FrameCopying.h"

#include "imaging/StripPlacement.h"
#include "imaging/StripWalker.h"
#include "imaging/WicFormats.h"

#include <wrl/client.h>

#include <cstdint>
#include <cstdlib>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

// A frame that only needs its 24-bit RGB rows is copied whole, in one call.
HRESULT CopyWalked(IWICBitmapSource& source, const StoredFrame& stored, const PixelSteps& steps, UINT size,
                   BYTE* buffer)
{
    return stored.orientation == uprightOrientation && steps.stages.empty()
               ? source.CopyPixels(nullptr, stored.width * 3, size, buffer)
               : WalkStrips(source, stored.width, stored.height, steps, stored.orientation, buffer);
}

// Wine's converter, unlike Windows', has no direct path to 24bpp RGB from indexed, grey
// and 16-bit-per-channel formats: Initialize succeeds and CopyPixels then reports
// WINCODEC_ERR_UNSUPPORTEDOPERATION. Going through 32bpp BGRA works for all of them.
// Declared in the order obtained, so the converters are released last-made first.
HRESULT CopyThroughBgra(IWICImagingFactory& factory, IWICBitmapSource& frame, const StoredFrame& stored,
                        const PixelPlan& plan, UINT size, BYTE* buffer)
{
    ComPtr<IWICFormatConverter> toBgra;
    ComPtr<IWICFormatConverter> toPlanned;
    HRESULT result = factory.CreateFormatConverter(&toBgra);
    if (result == S_OK)
    {
        result = InitializeConverter(toBgra.Get(), &frame, WicFormats::pixel32bppBgra);
    }
    if (result == S_OK)
    {
        result = factory.CreateFormatConverter(&toPlanned);
    }
    if (result == S_OK)
    {
        result = InitializeConverter(toPlanned.Get(), toBgra.Get(), plan.format);
    }
    if (result == S_OK)
    {
        result = CopyWalked(*toPlanned.Get(), stored, plan.steps, size, buffer);
    }
    return result;
}

} // namespace

HRESULT InitializeConverter(IWICFormatConverter* converter, IWICBitmapSource* source, const GUID& format)
{
    return converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom);
}

BYTE* AllocateForHost(UINT width, UINT height, const FrameOutputs& outputs)
{
    const std::uint64_t stride = std::uint64_t{width} * 3;
    if (stride > UINT32_MAX || stride * height > UINT32_MAX)
    {
        outputs.pixels = nullptr;
        outputs.byteCount = 0;
        return nullptr;
    }
    outputs.byteCount = static_cast<UINT>(stride * height);
    auto* const buffer = static_cast<BYTE*>(std::malloc(outputs.byteCount));
    outputs.pixels = buffer;
    return buffer;
}

HRESULT CopyPlanned(IWICImagingFactory& factory, IWICBitmapSource& source, IWICFormatConverter& converter,
                    const StoredFrame& stored, const PixelPlan& plan, UINT size, BYTE* buffer)
{
    HRESULT result = CopyWalked(plan.fromFrame ? source : static_cast<IWICBitmapSource&>(converter), stored, plan.steps, size, buffer);
    if (result == WINCODEC_ERR_UNSUPPORTEDOPERATION && !plan.fromFrame && plan.format != WicFormats::pixel32bppBgra)
    {
        result = CopyThroughBgra(factory, source, stored, plan, size, buffer);
    }
    return result;
}

} // namespace Tesmo::Plugin::Imaging
