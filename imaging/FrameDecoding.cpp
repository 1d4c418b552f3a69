#include "imaging/FrameDecoding.h"

#include "imaging/animation/AnimationCanvas.h"
#include "imaging/animation/apng/ApngDrawing.h"
#include "imaging/animation/apng/ApngFile.h"
#include "imaging/animation/GifAnimation.h"
#include "imaging/animation/GifColourTables.h"
#include "imaging/animation/GifDrawing.h"
#include "imaging/FrameCopying.h"
#include "imaging/ImagingFactory.h"
#include "imaging/orientation/PhotoOrientation.h"
#include "imaging/PixelPlanning.h"
#include "imaging/WicFormats.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <string_view>

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
    return (buffer != nullptr &&
            CopyPlanned(factory, frame, converter, stored, plan, outputs.byteCount, buffer) == S_OK) ||
           Fail(copyFailed);
}

// The picture a viewer shows for a frame of an animation: its canvas, as far as drawing got
// (drawn: S_OK when whole), through the steps of any frame (the colour profile
// profileFrame carries or the file at path describes, alpha over the background). A
// canvas not drawn whole is handed over all the same, with the copy step's failure.
bool CopyCanvas(IWICImagingFactory& factory, AnimationCanvas& canvas, UINT width, UINT height, HRESULT drawn,
                const DecodedFramePng* profileFrame, const wchar_t* path, const FrameSettings& settings,
                const FrameOutputs& outputs)
{
    outputs.width = width;
    outputs.height = height;
    BYTE* const buffer = AllocateForHost(width, height, outputs);
    const ComPtr<IWICBitmap> bitmap = canvas.Finish();
    if (buffer == nullptr || bitmap == nullptr)
    {
        return Fail(copyFailed);
    }
    const PixelPlan plan = PlanCanvasPixels(factory, profileFrame != nullptr ? profileFrame->decoder.Get() : nullptr,
                                            profileFrame != nullptr ? profileFrame->frame.Get() : nullptr, path,
                                            settings);
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

bool ComposeGifFrame(IWICImagingFactory& factory, const GifComposition& composition, const FrameSettings& settings,
                     const FrameOutputs& outputs)
{
    const GifScreen& screen = composition.screen;
    if (composition.colourless)
    {
        outputs.width = screen.width;
        outputs.height = screen.height;
        return FailWithoutBuffer(outputs);
    }
    AnimationCanvas canvas;
    HRESULT drawn = canvas.Open(factory, screen.width, screen.height, GifClearedPixel(screen));
    if (drawn == S_OK)
    {
        drawn = DrawGifComposition(factory, composition, canvas);
    }
    return CopyCanvas(factory, canvas, screen.width, screen.height, drawn, nullptr, nullptr, settings, outputs);
}

// Whether the path names a PNG file by its extension (.png or .apng, in any letter case).
bool HasPngName(const std::wstring& path)
{
    const auto endsWith = [&](std::wstring_view extension) {
        return path.size() >= extension.size() &&
               CompareStringOrdinal(path.c_str() + path.size() - extension.size(), static_cast<int>(extension.size()),
                                    extension.data(), static_cast<int>(extension.size()), TRUE) == CSTR_EQUAL;
    };
    return endsWith(L".png") || endsWith(L".apng");
}

// Frame frameIndex of an animated PNG, composed; nothing when the file is no valid
// animation, the settings ask for WIC's own picture (read only for a valid animation), or
// a frame the picture needs cannot be drawn: the file then goes WIC's way, a still PNG.
// An index past the animation's frames fails at the frame step. Best looked at before
// WIC opens the file, since Wine's PNG decoder decodes the default image as it opens it,
// a frame's time again; the frames' own streams carry the file's colour profile.
std::optional<bool> ComposeApngFrame(IWICImagingFactory& factory, const std::wstring& path, UINT frameIndex,
                                     const FrameSettings& settings, const FrameOutputs& outputs)
{
    const std::optional<ApngFile> file = ReadApngFile(path.c_str());
    if (!file || settings.apngFramesRaw())
    {
        return std::nullopt;
    }
    if (frameIndex >= file->FrameCount())
    {
        outputs.frameCount = file->FrameCount();
        return Fail(frameFailed);
    }
    const UINT width = file->records.width;
    const UINT height = file->records.height;
    DecodedFramePng lastFrame;
    AnimationCanvas canvas;
    if (canvas.Open(factory, width, height, BgraPixel{}) != S_OK ||
        DrawApngFrame(factory, *file, frameIndex, canvas, lastFrame) != S_OK)
    {
        return std::nullopt;
    }
    outputs.frameCount = file->FrameCount();
    return CopyCanvas(factory, canvas, width, height, S_OK, &lastFrame, path.c_str(), settings, outputs);
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
    if (!WidenAnsiPath(path, widePath))
    {
        return Fail(openFailed);
    }
    // An animated PNG has frames WIC does not count. A file named as a PNG is looked at
    // before WIC opens it; any other only once WIC has found it to be a PNG, so that
    // other formats pay nothing for the look.
    const bool namedPng = HasPngName(widePath);
    if (const std::optional<bool> composed =
            namedPng ? ComposeApngFrame(*factory.Get(), widePath, frameIndex, settings, outputs) : std::nullopt)
    {
        return *composed;
    }
    if (factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
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
    GUID container{};
    if (const std::optional<bool> composed =
            !namedPng && decoder->GetContainerFormat(&container) == S_OK && container == WicFormats::containerPng
                ? ComposeApngFrame(*factory.Get(), widePath, frameIndex, settings, outputs)
                : std::nullopt)
    {
        return *composed;
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
        return ComposeGifFrame(*factory.Get(), *composition, settings, outputs);
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
