#include "imaging/FrameDecoding.h"

#include "imaging/animation/GifAnimation.h"
#include "imaging/animation/GifColourTables.h"
#include "imaging/animation/GifDrawing.h"
#include "imaging/ImagingFactory.h"
#include "imaging/orientation/PhotoOrientation.h"
#include "imaging/PixelPlanning.h"
#include "imaging/StripWalker.h"
#include "imaging/WicFormats.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

constexpr wchar_t factoryFailed[] = L"[WIC_Plugin] CoCreateInstance( CLSID_WICImagingFactor ) Failed!";
constexpr wchar_t openFailed[] = L"[WIC_Plugin] IWICImagingFactory->CreateDecoderFromFilename( ) Failed!";
constexpr wchar_t frameCountFailed[] = L"[WIC_Plugin] IWICBitmapDecoder->GetFrameCount( ) Failed!";
constexpr wchar_t frameFailed[] = L"[WIC_Plugin] IWICBitmapDecoder->GetFrame( ) Failed!";
constexpr wchar_t sizeFailed[] = L"[WIC_Plugin] IWICBitmapFrameDecode->GetSize( ) Failed!";
constexpr wchar_t converterFailed[] = L"[WIC_Plugin] IWICImagingFactory->CreateFormatConverter( ) Failed!";
constexpr wchar_t initializeFailed[] = L"[WIC_Plugin] IWICFormatConverter->Initialize( ) Failed!";
constexpr wchar_t copyFailed[] = L"[WIC_Plugin] IWICFormatConverter->CopyPixels( ) Failed!";

bool Fail(const wchar_t* message)
{
    OutputDebugStringW(message);
    return false;
}

// A narrow Windows path is text in the system's ANSI code page, as CreateFileA reads it.
// Widening it byte by byte would name another file as soon as a byte is above 0x7F;
// ASCII paths come out the same either way.
bool WidenAnsiPath(const char* path, std::wstring& widePath)
{
    const int units = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (units <= 0)
    {
        return false;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), units) != units)
    {
        return false;
    }
    wide.resize(static_cast<std::size_t>(units) - 1);
    widePath = std::move(wide);
    return true;
}

HRESULT InitializeConverter(IWICFormatConverter* converter, IWICBitmapSource* source, const GUID& format)
{
    return converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom);
}

// The frame as stored, and the turn that makes it upright.
struct StoredFrame
{
    UINT width;
    UINT height;
    UINT orientation;
};

// Copies the source, the stored frame read in the plan's format, into the host's buffer of
// size bytes, through the plan's steps and turned upright. A frame that only needs its
// 24-bit RGB rows is copied whole, in one call.
HRESULT CopyPlanned(IWICBitmapSource& source, const StoredFrame& stored, const PixelSteps& steps, UINT size,
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
        result = CopyPlanned(*toPlanned.Get(), stored, plan.steps, size, buffer);
    }
    return result;
}

// The buffer passes to the host as soon as it is allocated, so a host can show a
// partly decoded frame when the copy itself fails. In 32 bits a crafted header could wrap
// the size and have the copy write past a small buffer: a size that does not fit in 32
// bits gets no buffer, and neither does one malloc cannot provide (null either way).
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

// A frame that cannot be asked for its pixels gets no buffer.
bool FailWithoutBuffer(const FrameOutputs& outputs)
{
    outputs.pixels = nullptr;
    outputs.byteCount = 0;
    return Fail(copyFailed);
}

// Turned or not, the frame takes the same number of bytes.
bool CopyFrame(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, IWICFormatConverter& converter,
               const StoredFrame& stored, const PixelPlan& plan, const FrameOutputs& outputs)
{
    BYTE* const buffer = AllocateForHost(stored.width, stored.height, outputs);
    if (buffer == nullptr)
    {
        return Fail(copyFailed);
    }
    IWICBitmapSource& source = plan.fromFrame ? static_cast<IWICBitmapSource&>(frame) : converter;
    HRESULT result = CopyPlanned(source, stored, plan.steps, outputs.byteCount, buffer);
    if (result == WINCODEC_ERR_UNSUPPORTEDOPERATION && !plan.fromFrame && plan.format != WicFormats::pixel32bppBgra)
    {
        result = CopyThroughBgra(factory, frame, stored, plan, outputs.byteCount, buffer);
    }
    return result == S_OK || Fail(copyFailed);
}

// The picture a viewer shows for a frame of a GIF animation: the logical screen with
// the frame drawn over what the frames before it left.
bool ComposeFrame(IWICImagingFactory& factory, const GifComposition& composition, const FrameOutputs& outputs)
{
    outputs.width = composition.screen.width;
    outputs.height = composition.screen.height;
    if (composition.colourless)
    {
        return FailWithoutBuffer(outputs);
    }
    BYTE* const canvas = AllocateForHost(composition.screen.width, composition.screen.height, outputs);
    return (canvas != nullptr && DrawGifComposition(factory, composition, canvas) == S_OK) ||
           Fail(copyFailed);
}

// The turn that makes a photo upright. The settings file is read only for a frame whose
// tag asks for one.
UINT OrientationToApply(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame, const FrameSettings& settings)
{
    const UINT orientation = ReadPhotoOrientation(decoder, frame);
    return orientation != uprightOrientation && settings.orientationRaw() ? uprightOrientation : orientation;
}

} // namespace

bool DecodeFrame(const char* path, unsigned int frameIndex, const FrameOutputs& outputs,
                 const FrameSettings& settings)
{
    // Declared in the order they are obtained, so they are released converter, frame,
    // decoder, factory, each exactly once and only if obtained.
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;

    if (CreateImagingFactory(factory.GetAddressOf()) != S_OK)
    {
        return Fail(factoryFailed);
    }

    std::wstring widePath;
    if (!WidenAnsiPath(path, widePath) ||
        factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                           &decoder) != S_OK)
    {
        return Fail(openFailed);
    }

    // Each output is taken over only once its step has succeeded.
    UINT count = 0;
    if (decoder->GetFrameCount(&count) != S_OK)
    {
        return Fail(frameCountFailed);
    }
    outputs.frameCount = count;

    // No comparison with the frame count: WIC's own range check decides.
    if (decoder->GetFrame(frameIndex, &frame) != S_OK)
    {
        return Fail(frameFailed);
    }

    UINT width = 0;
    UINT height = 0;
    // A frame without area has no picture to give.
    if (frame->GetSize(&width, &height) != S_OK || width == 0 || height == 0)
    {
        return Fail(sizeFailed);
    }

    // The settings file is read only for a GIF frame that needs composing.
    if (const std::optional<GifComposition> composition =
            PlanGifComposition(*factory.Get(), *decoder.Get(), *frame.Get(), frameIndex, count);
        composition && !settings.gifFramesRaw())
    {
        return ComposeFrame(*factory.Get(), *composition, outputs);
    }
    const StoredFrame stored{width, height, OrientationToApply(*decoder.Get(), *frame.Get(), settings)};
    outputs.width = SwapsSides(stored.orientation) ? height : width;
    outputs.height = SwapsSides(stored.orientation) ? width : height;
    if (!GifFrameHasColours(*decoder.Get(), *frame.Get()))
    {
        return FailWithoutBuffer(outputs);
    }

    // Colour through the frame's profile, then alpha over the background: each step only
    // where it applies.
    const PixelPlan plan = PlanPixels(*factory.Get(), *decoder.Get(), *frame.Get(), widePath.c_str(), settings);
    if (factory->CreateFormatConverter(&converter) != S_OK)
    {
        return Fail(converterFailed);
    }
    if (!plan.fromFrame && InitializeConverter(converter.Get(), frame.Get(), plan.format) != S_OK)
    {
        return Fail(initializeFailed);
    }

    return CopyFrame(*factory.Get(), *frame.Get(), *converter.Get(), stored, plan, outputs);
}

} // namespace Tesmo::Plugin::Imaging
