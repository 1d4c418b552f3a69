#include "hosting/WicEncoder.h"

#include "hosting/ComApartment.h"
#include "hosting/ThrowIfFailed.h"
#include "hosting/WicFactory.h"

#include <wrl/client.h>

#include <stdexcept>

using Microsoft::WRL::ComPtr;

namespace Tesmo::PluginHost
{

namespace
{

// Best effort, as a tolerance in the caller covers the rest: not every JPEG encoder takes
// the option.
void RequestJpegQuality(IPropertyBag2* options, float quality)
{
    if (options == nullptr)
    {
        return;
    }
    PROPBAG2 option{};
    option.pstrName = const_cast<wchar_t*>(L"ImageQuality");
    VARIANT value{};
    value.vt = VT_R4;
    value.fltVal = quality;
    options->Write(1, &option, &value);
}

void EncodeFrame(IWICImagingFactory& factory, IWICBitmapEncoder& encoder, const GUID& containerFormat,
                 const FrameToEncode& source)
{
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    ThrowIfFailed(encoder.CreateNewFrame(&frame, &options), "adding a frame");
    if (containerFormat == GUID_ContainerFormatJpeg && source.jpegQuality)
    {
        RequestJpegQuality(options.Get(), *source.jpegQuality);
    }
    ThrowIfFailed(frame->Initialize(options.Get()), "starting the frame");
    ThrowIfFailed(frame->SetSize(source.width, source.height), "setting the size");
    WICPixelFormatGUID format = source.format;
    ThrowIfFailed(frame->SetPixelFormat(&format), "setting the pixel format");
    if (format != source.format)
    {
        throw std::runtime_error("the encoder does not take the frame's pixel format");
    }
    if (!source.palette.empty() || source.format == GUID_WICPixelFormat8bppIndexed)
    {
        ComPtr<IWICPalette> palette;
        ThrowIfFailed(factory.CreatePalette(&palette), "creating a palette");
        ThrowIfFailed(source.palette.empty()
                          ? palette->InitializePredefined(WICBitmapPaletteTypeFixedHalftone256, FALSE)
                          : palette->InitializeCustom(const_cast<WICColor*>(source.palette.data()),
                                                      static_cast<UINT>(source.palette.size())),
                      "filling the palette");
        ThrowIfFailed(frame->SetPalette(palette.Get()), "setting the palette");
    }
    ThrowIfFailed(frame->WritePixels(source.height, source.stride, static_cast<UINT>(source.bytes.size()),
                                     const_cast<BYTE*>(source.bytes.data())),
                  "writing the pixels");
    ThrowIfFailed(frame->Commit(), "finishing the frame");
}

// The one encoding sequence; the stream decides where the file goes. The caller has
// joined COM.
void Encode(IWICImagingFactory& factory, IStream& stream, const GUID& containerFormat,
            const std::vector<FrameToEncode>& frames)
{
    ComPtr<IWICBitmapEncoder> encoder;
    ThrowIfFailed(factory.CreateEncoder(containerFormat, nullptr, &encoder), "creating the encoder");
    ThrowIfFailed(encoder->Initialize(&stream, WICBitmapEncoderNoCache), "starting the file");
    for (const FrameToEncode& frame : frames)
    {
        EncodeFrame(factory, *encoder.Get(), containerFormat, frame);
    }
    ThrowIfFailed(encoder->Commit(), "finishing the file");
}

} // namespace

std::string EncodeWithWic(const GUID& containerFormat, const std::vector<FrameToEncode>& frames)
{
    const ComApartment com(COINIT_APARTMENTTHREADED);
    const ComPtr<IWICImagingFactory> factory = CreateWicFactory();
    ComPtr<IStream> stream;
    ThrowIfFailed(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "creating a stream");
    Encode(*factory.Get(), *stream.Get(), containerFormat, frames);

    STATSTG status{};
    ThrowIfFailed(stream->Stat(&status, STATFLAG_NONAME), "measuring the file");
    HGLOBAL memory = nullptr;
    ThrowIfFailed(GetHGlobalFromStream(stream.Get(), &memory), "reading the file");
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (bytes == nullptr)
    {
        throw std::runtime_error("cannot read the encoded file");
    }
    std::string file(bytes, bytes + status.cbSize.QuadPart);
    GlobalUnlock(memory);
    return file;
}

void EncodeWithWic(const std::wstring& path, const GUID& containerFormat, const std::vector<FrameToEncode>& frames)
{
    const ComApartment com(COINIT_APARTMENTTHREADED);
    const ComPtr<IWICImagingFactory> factory = CreateWicFactory();
    ComPtr<IWICStream> stream;
    ThrowIfFailed(factory->CreateStream(&stream), "creating a stream");
    ThrowIfFailed(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "creating the output file");
    Encode(*factory.Get(), *stream.Get(), containerFormat, frames);
}

} // namespace Tesmo::PluginHost
