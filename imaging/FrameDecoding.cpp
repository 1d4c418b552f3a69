#include "imaging/FrameDecoding.h"

#include "imaging/animation/AnimationCanvas.h"
#include "imaging/animation/GifAnimation.h"
#include "imaging/animation/GifDrawing.h"
#include "imaging/FrameCopying.h"
#include "imaging/ImagingFactory.h"
#include "imaging/orientation/PhotoOrientation.h"
#include "imaging/PixelPlanning.h"
#include "imaging/WicFormats.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <functional>
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

// Turned or not, the frame takes the same number of bytes.
bool CopyFrame(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, IWICFormatConverter& converter,
               const StoredFrame& stored, const PixelPlan& plan, const FrameOutputs& outputs)
{
    BYTE* const buffer = AllocateForHost(stored.width, stored.height, outputs);
    return (buffer != nullptr &&
            CopyPlanned(factory, frame, converter, stored, plan, outputs.byteCount, buffer) == S_OK) ||
           Fail(copyFailed);
}

// The picture a viewer shows for a frame of an animation: draw lays the frames down on a
// canvas of the animation's size, which then goes through the steps of any frame (the
// colour profile profileFrame carries, alpha over the background). A canvas that was not
// drawn whole is still handed over as far as it got.
bool CopyComposed(IWICImagingFactory& factory, UINT width, UINT height, const BgraPixel& cleared,
                  const std::function<HRESULT(const AnimationCanvas&)>& draw, IWICBitmapFrameDecode* profileFrame,
                  const FrameSettings& settings, const FrameOutputs& outputs)
{
    outputs.width = width;
    outputs.height = height;
    BYTE* const buffer = AllocateForHost(width, height, outputs);
    AnimationCanvas canvas;
    if (buffer == nullptr || canvas.Open(factory, width, height, cleared) != S_OK)
    {
        return Fail(copyFailed);
    }
    const HRESULT drawn = draw(canvas);
    const ComPtr<IWICBitmap> bitmap = canvas.Finish();
    const PixelPlan plan = PlanCanvasPixels(factory, profileFrame, settings);
    ComPtr<IWICFormatConverter> converter;
    HRESULT copied = factory.CreateFormatConverter(&converter);
    if (copied == S_OK && !plan.fromFrame)
    {
        copied = InitializeConverter(converter.Get(), bitmap.Get(), plan.format);
    }
    if (copied == S_OK)
    {
        copied = CopyPlanned(factory, *bitmap.Get(), *converter.Get(), StoredFrame{width, height, uprightOrientation},
                             plan, outputs.byteCount, buffer);
    }
    return (drawn == S_OK && copied == S_OK) || Fail(copyFailed);
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

    {
        std::wstring widePath;
        if (!WidenAnsiPath(path, widePath) ||
            factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                               WICDecodeMetadataCacheOnDemand, &decoder) != S_OK)
        {
            return Fail(openFailed);
        }
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
    if (frame->GetSize(&width, &height) != S_OK)
    {
        return Fail(sizeFailed);
    }

    // The settings file is read only for a GIF frame that needs composing.
    if (const std::optional<GifComposition> composition =
            PlanGifComposition(*factory.Get(), *decoder.Get(), *frame.Get(), frameIndex, count);
        composition && !settings.gifFramesRaw())
    {
        const auto draw = [&](const AnimationCanvas& canvas) {
            return DrawGifComposition(*factory.Get(), *composition, canvas);
        };
        return CopyComposed(*factory.Get(), composition->screen.width, composition->screen.height,
                            GifClearedPixel(composition->screen), draw, nullptr, settings, outputs);
    }
    const StoredFrame stored{width, height, OrientationToApply(*decoder.Get(), *frame.Get(), settings)};
    outputs.width = SwapsSides(stored.orientation) ? height : width;
    outputs.height = SwapsSides(stored.orientation) ? width : height;

    // Colour through the frame's profile, then alpha over the background: each step only
    // where it applies.
    const PixelPlan plan = PlanPixels(*factory.Get(), *decoder.Get(), *frame.Get(), settings);
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
