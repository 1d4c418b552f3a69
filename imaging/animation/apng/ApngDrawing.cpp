#include "imaging/animation/apng/ApngDrawing.h"

#include "imaging/animation/apng/ApngFramePng.h"
#include "imaging/animation/FrameSequence.h"
#include "imaging/WicFormats.h"

#include <wrl/client.h>

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

Disposal DisposalOf(ApngDispose dispose)
{
    return dispose == ApngDispose::Background ? Disposal::Clear
           : dispose == ApngDispose::Previous ? Disposal::Restore
                                              : Disposal::Keep;
}

// One pixel of straight alpha over another, as the APNG format defines it with a and b the
// alphas of the frame and the canvas as fractions: alpha a + b (1 - a), colour
// (a c + b (1 - a) d) / that alpha. Scaled by 255 here and rounded to the nearest level.
// Under a transparent pixel the canvas stays as it is.
void BlendPixelOver(const BYTE* frame, BYTE* canvas)
{
    const std::uint32_t alpha = frame[3];
    if (alpha == 255)
    {
        std::memcpy(canvas, frame, 4);
        return;
    }
    if (alpha == 0)
    {
        return;
    }
    const std::uint32_t under = canvas[3] * (255 - alpha); // b (1 - a), times 255 squared
    const std::uint32_t total = alpha * 255 + under;
    for (int channel = 0; channel < 3; ++channel)
    {
        const std::uint32_t mixed = alpha * 255 * frame[channel] + under * canvas[channel];
        canvas[channel] = static_cast<BYTE>((mixed + total / 2) / total);
    }
    canvas[3] = static_cast<BYTE>((total + 127) / 255);
}

// The frame's PNG stream, built afresh, and WIC's decoder and frame on it; what decoded
// the frame before is released first, its bytes last.
HRESULT DecodeFramePng(IWICImagingFactory& factory, const ApngFile& file, const ApngFrameRecord& frame,
                       DecodedFramePng& decoded)
{
    decoded.frame.Reset();
    decoded.decoder.Reset();
    decoded.stream.Reset();
    decoded.bytes = BuildFramePng(file.bytes.data(), file.records, frame);
    if (decoded.bytes.size() > UINT32_MAX)
    {
        return E_OUTOFMEMORY;
    }
    HRESULT result = factory.CreateStream(&decoded.stream);
    if (result == S_OK)
    {
        result = decoded.stream->InitializeFromMemory(decoded.bytes.data(), static_cast<DWORD>(decoded.bytes.size()));
    }
    if (result == S_OK)
    {
        result = factory.CreateDecoderFromStream(decoded.stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                 &decoded.decoder);
    }
    GUID container{};
    if (result == S_OK &&
        (decoded.decoder->GetContainerFormat(&container) != S_OK || container != WicFormats::containerPng))
    {
        result = WINCODEC_ERR_COMPONENTNOTFOUND; // another codec took the stream
    }
    if (result == S_OK)
    {
        result = decoded.decoder->GetFrame(0, &decoded.frame);
    }
    UINT width = 0;
    UINT height = 0;
    if (result == S_OK &&
        (decoded.frame->GetSize(&width, &height) != S_OK || width != frame.width || height != frame.height))
    {
        result = WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    }
    return result;
}

// The frame's pixels as WIC's PNG decoder hands them over, straight 32bpp BGRA: copied
// into the canvas where they replace it, blended from pixels where they go over it.
HRESULT LayFrame(IWICImagingFactory& factory, const ApngFile& file, const ApngFrameRecord& frame,
                 const AnimationCanvas& canvas, DecodedFramePng& decoded, std::vector<BYTE>& pixels)
{
    ComPtr<IWICFormatConverter> toBgra;
    HRESULT result = DecodeFramePng(factory, file, frame, decoded);
    if (result == S_OK)
    {
        result = factory.CreateFormatConverter(&toBgra);
    }
    if (result == S_OK)
    {
        result = toBgra->Initialize(decoded.frame.Get(), WicFormats::pixel32bppBgra, WICBitmapDitherTypeNone, nullptr,
                                    0.0, WICBitmapPaletteTypeCustom);
    }
    if (result != S_OK)
    {
        return result;
    }
    const UINT width = frame.width;
    const UINT height = frame.height;
    // Inside the canvas, whose bytes fit in 32 bits: so do the frame's.
    const UINT rowBytes = width * 4;
    if (frame.blend == ApngBlend::Source)
    {
        const std::uint64_t size = std::uint64_t{canvas.Stride()} * (height - 1) + rowBytes;
        return size > UINT32_MAX ? E_OUTOFMEMORY
                                 : toBgra->CopyPixels(nullptr, canvas.Stride(), static_cast<UINT>(size),
                                                      canvas.At(frame.left, frame.top));
    }
    pixels.resize(std::size_t{rowBytes} * height);
    result = toBgra->CopyPixels(nullptr, rowBytes, static_cast<UINT>(pixels.size()), pixels.data());
    for (UINT y = 0; result == S_OK && y < height; ++y)
    {
        const BYTE* from = &pixels[std::size_t{y} * rowBytes];
        BYTE* to = canvas.At(frame.left, frame.top + y);
        for (UINT x = 0; x < width; ++x, from += 4, to += 4)
        {
            BlendPixelOver(from, to);
        }
    }
    return result;
}

HRESULT DrawAnimation(IWICImagingFactory& factory, const ApngFile& file, UINT frameIndex, const AnimationCanvas& canvas,
                      DecodedFramePng& decoded)
{
    const std::vector<ApngFrameRecord>& records = file.records.frames;
    const UINT firstFrame = FirstShownFrame(frameIndex, [&](UINT index) {
        const ApngFrameRecord& frame = records[index];
        const bool covers = frame.width == canvas.Width() && frame.height == canvas.Height();
        return FrameCover{covers, frame.blend == ApngBlend::Source, DisposalOf(frame.dispose)};
    });
    std::vector<SequenceFrame> frames;
    for (UINT index = firstFrame; index <= frameIndex; ++index)
    {
        const ApngFrameRecord& frame = records[index];
        frames.push_back({ClipToCanvas(frame.left, frame.top, frame.width, frame.height, canvas.Width(),
                                       canvas.Height()),
                          DisposalOf(frame.dispose)});
    }
    std::vector<BYTE> pixels;
    HRESULT firstFailure = S_OK;
    const HRESULT last = DrawSequence(canvas, frames, [&](std::size_t step) {
        if (firstFailure == S_OK)
        {
            firstFailure = LayFrame(factory, file, records[firstFrame + step], canvas, decoded, pixels);
        }
        return firstFailure;
    });
    return firstFailure != S_OK ? firstFailure : last;
}

} // namespace

HRESULT DrawApngFrame(IWICImagingFactory& factory, const ApngFile& file, UINT frameIndex, const AnimationCanvas& canvas,
                      DecodedFramePng& lastFrame)
{
    try
    {
        return DrawAnimation(factory, file, frameIndex, canvas, lastFrame);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY; // a frame's stream or pixels, or a saved rectangle
    }
}

} // namespace Tesmo::Plugin::Imaging
