#include "hosting/BareWicDecoder.h"

#include "hosting/WicFactory.h"

#include <cstdlib>

using Microsoft::WRL::ComPtr;

namespace Tesmo::PluginHost
{

namespace
{

HRESULT Convert(IWICImagingFactory& factory, IWICBitmapSource* source, REFWICPixelFormatGUID format,
                ComPtr<IWICFormatConverter>& converter)
{
    HRESULT result = factory.CreateFormatConverter(&converter);
    if (SUCCEEDED(result))
    {
        result = converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                       WICBitmapPaletteTypeCustom);
    }
    return result;
}

} // namespace

BareWicDecoder::BareWicDecoder() : factory(CreateWicFactory())
{
}

bool BareWicDecoder::Decode(const std::wstring& path, unsigned int frameIndex, unsigned int& width,
                            unsigned int& height, void*& pixels, unsigned int& byteCount) const
{
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT frameCount = 0;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  &decoder)) ||
        FAILED(decoder->GetFrameCount(&frameCount)) || FAILED(decoder->GetFrame(frameIndex, &frame)) ||
        FAILED(frame->GetSize(&width, &height)) ||
        FAILED(Convert(*factory.Get(), frame.Get(), GUID_WICPixelFormat24bppRGB, converter)))
    {
        return false;
    }
    const unsigned long long stride = 3ull * width;
    const unsigned long long size = stride * height;
    if (size > 0xFFFFFFFFull)
    {
        return false;
    }
    byteCount = static_cast<unsigned int>(size);
    pixels = std::malloc(byteCount);
    if (pixels == nullptr)
    {
        return false;
    }
    auto* buffer = static_cast<BYTE*>(pixels);
    HRESULT result = converter->CopyPixels(nullptr, static_cast<UINT>(stride), byteCount, buffer);
    if (result == WINCODEC_ERR_UNSUPPORTEDOPERATION)
    {
        // Wine's converter reaches 24-bit RGB from some formats only by way of 32-bit BGRA.
        ComPtr<IWICFormatConverter> toBgra;
        ComPtr<IWICFormatConverter> toRgb;
        result = Convert(*factory.Get(), frame.Get(), GUID_WICPixelFormat32bppBGRA, toBgra);
        if (SUCCEEDED(result))
        {
            result = Convert(*factory.Get(), toBgra.Get(), GUID_WICPixelFormat24bppRGB, toRgb);
        }
        if (SUCCEEDED(result))
        {
            result = toRgb->CopyPixels(nullptr, static_cast<UINT>(stride), byteCount, buffer);
        }
    }
    if (FAILED(result))
    {
        std::free(pixels);
        pixels = nullptr;
        return false;
    }
    return true;
}

} // namespace Tesmo::PluginHost
