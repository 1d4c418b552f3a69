#include "support/TestImages.h"

#include "imaging/ComInitialization.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <cstring>
#include <stdexcept>

using Microsoft::WRL::ComPtr;

namespace Tesmo::Tests
{

namespace
{

void Put16(std::string& bytes, unsigned int value)
{
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& bytes, unsigned int value)
{
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

unsigned int RowBytes(unsigned int width, unsigned int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// BITMAPINFOHEADER, uncompressed.
void PutInfoHeader(std::string& bytes, int width, int height, unsigned int bitCount, unsigned int imageBytes,
                   unsigned int coloursUsed)
{
    Put32(bytes, 40);
    Put32(bytes, static_cast<unsigned int>(width));
    Put32(bytes, static_cast<unsigned int>(height));
    Put16(bytes, 1);
    Put16(bytes, bitCount);
    Put32(bytes, 0); // BI_RGB
    Put32(bytes, imageBytes);
    Put32(bytes, 2835); // 72 dpi
    Put32(bytes, 2835);
    Put32(bytes, coloursUsed);
    Put32(bytes, 0);
}

// BITMAPFILEHEADER + BITMAPINFOHEADER + palette + rows (already bottom-up and padded).
std::string BmpFile(int width, int height, unsigned int bitCount, const std::vector<Rgba>& palette,
                    const std::string& rows)
{
    const unsigned int offset = 14 + 40 + static_cast<unsigned int>(palette.size()) * 4;
    std::string bytes = "BM";
    Put32(bytes, offset + static_cast<unsigned int>(rows.size()));
    Put32(bytes, 0);
    Put32(bytes, offset);
    PutInfoHeader(bytes, width, height, bitCount, static_cast<unsigned int>(rows.size()),
                  static_cast<unsigned int>(palette.size()));
    for (const Rgba& colour : palette)
    {
        bytes += {static_cast<char>(colour.b), static_cast<char>(colour.g), static_cast<char>(colour.r), '\0'};
    }
    return bytes + rows;
}

// Colour rows bottom-up, each padded to 4 bytes, as BMP files and icon DIBs hold them.
std::string BottomUpRows(const Picture& picture, unsigned int bitCount)
{
    std::string rows;
    for (unsigned int y = picture.height; y-- > 0;)
    {
        std::string row;
        for (unsigned int x = 0; x < picture.width; ++x)
        {
            const Rgba& p = picture.At(x, y);
            row += {static_cast<char>(p.b), static_cast<char>(p.g), static_cast<char>(p.r)};
            if (bitCount == 32)
            {
                row.push_back(static_cast<char>(p.a));
            }
        }
        row.resize(RowBytes(picture.width, bitCount), '\0');
        rows += row;
    }
    return rows;
}

void Check(HRESULT result, const char* what)
{
    if (FAILED(result))
    {
        throw std::runtime_error(std::string("WIC encoding: ") + what + " failed");
    }
}


} // namespace

std::string Picture::Rgb() const
{
    std::string bytes;
    for (const Rgba& p : pixels)
    {
        bytes += {static_cast<char>(p.r), static_cast<char>(p.g), static_cast<char>(p.b)};
    }
    return bytes;
}

Picture PatternPicture(unsigned int width, unsigned int height, unsigned int seed, bool withAlpha)
{
    Picture picture{width, height, {}};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            picture.pixels.push_back({static_cast<unsigned char>(x * 67 + y * 131 + seed * 29 + 17),
                                      static_cast<unsigned char>(x * 151 + y * 43 + seed * 97 + 5),
                                      static_cast<unsigned char>(x * 23 + y * 199 + seed * 61 + 101),
                                      static_cast<unsigned char>(withAlpha ? (x + y * 3 + seed) % 4 * 85 : 255)});
        }
    }
    return picture;
}

Picture GreyPicture(unsigned int width, unsigned int height, unsigned int seed)
{
    Picture picture{width, height, {}};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            const auto level = static_cast<unsigned char>(x * 37 + y * 91 + seed * 53 + 11);
            picture.pixels.push_back({level, level, level, 255});
        }
    }
    return picture;
}

Picture GradientPicture(unsigned int width, unsigned int height)
{
    Picture picture{width, height, {}};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            picture.pixels.push_back({static_cast<unsigned char>(40 + x * 160 / width),
                                      static_cast<unsigned char>(200 - y * 140 / height), 128, 255});
        }
    }
    return picture;
}

Picture IndexedPicture::Colours() const
{
    Picture picture{width, height, {}};
    for (const unsigned char index : indices)
    {
        picture.pixels.push_back(palette[index]);
    }
    return picture;
}

IndexedPicture PatternIndexed(unsigned int width, unsigned int height, unsigned int paletteSize, unsigned int seed)
{
    IndexedPicture picture{width, height, {}, PatternPicture(paletteSize, 1, seed).pixels};
    for (unsigned int y = 0; y < height; ++y)
    {
        for (unsigned int x = 0; x < width; ++x)
        {
            picture.indices.push_back(static_cast<unsigned char>((x * 7 + y * 3 + seed) % paletteSize));
        }
    }
    return picture;
}

std::string Bmp24(const Picture& picture)
{
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), 24, {},
                   BottomUpRows(picture, 24));
}

std::string Bmp32(const Picture& picture)
{
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), 32, {},
                   BottomUpRows(picture, 32));
}

std::string Bmp8(const IndexedPicture& picture)
{
    std::string rows;
    for (unsigned int y = picture.height; y-- > 0;)
    {
        std::string row(picture.indices.begin() + y * picture.width,
                        picture.indices.begin() + (y + 1) * picture.width);
        row.resize(RowBytes(picture.width, 8), '\0');
        rows += row;
    }
    return BmpFile(static_cast<int>(picture.width), static_cast<int>(picture.height), 8, picture.palette, rows);
}

std::string Bmp24HeaderOnly(int width, int height)
{
    return BmpFile(width, height, 24, {}, "");
}

std::string IconDib(const Picture& picture, unsigned int bitCount)
{
    std::string mask;
    for (unsigned int y = picture.height; y-- > 0;)
    {
        std::string row(RowBytes(picture.width, 1), '\0');
        for (unsigned int x = 0; x < picture.width; ++x)
        {
            if (picture.At(x, y).a == 0)
            {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        mask += row;
    }
    const std::string colours = BottomUpRows(picture, bitCount);
    std::string bytes;
    PutInfoHeader(bytes, static_cast<int>(picture.width), static_cast<int>(picture.height * 2), bitCount,
                  static_cast<unsigned int>(colours.size() + mask.size()), 0);
    return bytes + colours + mask;
}

std::string Ico(const std::vector<IconImage>& images)
{
    std::string bytes;
    Put16(bytes, 0);
    Put16(bytes, 1); // icon
    Put16(bytes, static_cast<unsigned int>(images.size()));
    auto offset = static_cast<unsigned int>(6 + 16 * images.size());
    for (const IconImage& image : images)
    {
        bytes.push_back(static_cast<char>(image.width & 0xFF)); // 0 means 256
        bytes.push_back(static_cast<char>(image.height & 0xFF));
        bytes.push_back(0); // no palette
        bytes.push_back(0);
        Put16(bytes, 1);
        Put16(bytes, image.bitCount);
        Put32(bytes, static_cast<unsigned int>(image.data.size()));
        Put32(bytes, offset);
        offset += static_cast<unsigned int>(image.data.size());
    }
    for (const IconImage& image : images)
    {
        bytes += image.data;
    }
    return bytes;
}

FrameToEncode AsBgr24(const Picture& picture)
{
    FrameToEncode frame{picture.width, picture.height, GUID_WICPixelFormat24bppBGR, picture.width * 3, {}, {}};
    for (const Rgba& p : picture.pixels)
    {
        frame.bytes.insert(frame.bytes.end(), {p.b, p.g, p.r});
    }
    return frame;
}

FrameToEncode AsBgra32(const Picture& picture)
{
    FrameToEncode frame{picture.width, picture.height, GUID_WICPixelFormat32bppBGRA, picture.width * 4, {}, {}};
    for (const Rgba& p : picture.pixels)
    {
        frame.bytes.insert(frame.bytes.end(), {p.b, p.g, p.r, p.a});
    }
    return frame;
}

FrameToEncode AsGray8(const Picture& picture)
{
    // Rows of WIC bitmaps in memory need no padding, but encoders read whole 4-byte rows
    // on some paths: pad to be safe.
    const unsigned int stride = (picture.width + 3) / 4 * 4;
    FrameToEncode frame{picture.width, picture.height, GUID_WICPixelFormat8bppGray, stride, {}, {}};
    frame.bytes.resize(static_cast<std::size_t>(stride) * picture.height);
    for (unsigned int y = 0; y < picture.height; ++y)
    {
        for (unsigned int x = 0; x < picture.width; ++x)
        {
            frame.bytes[y * stride + x] = picture.At(x, y).r;
        }
    }
    return frame;
}

FrameToEncode AsRgb48(const Picture& picture)
{
    FrameToEncode frame{picture.width, picture.height, GUID_WICPixelFormat48bppRGB, picture.width * 6, {}, {}};
    for (const Rgba& p : picture.pixels)
    {
        for (const unsigned char value : {p.r, p.g, p.b})
        {
            frame.bytes.insert(frame.bytes.end(), {value, value}); // v * 257, little-endian
        }
    }
    return frame;
}

FrameToEncode AsIndexed8(const IndexedPicture& picture)
{
    const unsigned int stride = (picture.width + 3) / 4 * 4;
    FrameToEncode frame{picture.width, picture.height, GUID_WICPixelFormat8bppIndexed, stride, {}, picture.palette};
    frame.bytes.resize(static_cast<std::size_t>(stride) * picture.height);
    for (unsigned int y = 0; y < picture.height; ++y)
    {
        std::memcpy(&frame.bytes[y * stride], &picture.indices[y * picture.width], picture.width);
    }
    return frame;
}

std::string EncodeWithWic(const GUID& containerFormat, const std::vector<FrameToEncode>& frames)
{
    const Plugin::Imaging::ComInitialization com(COINIT_APARTMENTTHREADED);
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)),
          "creating the factory");
    Check(CreateStreamOnHGlobal(nullptr, TRUE, &stream), "creating a stream");
    Check(factory->CreateEncoder(containerFormat, nullptr, &encoder), "creating the encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "starting the file");
    for (const FrameToEncode& source : frames)
    {
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        Check(encoder->CreateNewFrame(&frame, &options), "adding a frame");
        if (containerFormat == GUID_ContainerFormatJpeg && options)
        {
            PROPBAG2 option{};
            option.pstrName = const_cast<wchar_t*>(L"ImageQuality");
            VARIANT value{};
            value.vt = VT_R4;
            value.fltVal = 1.0f;
            options->Write(1, &option, &value); // best effort: the tolerance covers the rest
        }
        Check(frame->Initialize(options.Get()), "starting the frame");
        Check(frame->SetSize(source.width, source.height), "setting the size");
        WICPixelFormatGUID format = source.format;
        Check(frame->SetPixelFormat(&format), "setting the pixel format");
        if (format != source.format)
        {
            throw std::runtime_error("WIC encoding: the encoder does not take the frame's pixel format");
        }
        if (!source.palette.empty())
        {
            std::vector<WICColor> colours;
            for (const Rgba& p : source.palette)
            {
                colours.push_back(static_cast<WICColor>(p.a) << 24 | static_cast<WICColor>(p.r) << 16 |
                                  static_cast<WICColor>(p.g) << 8 | p.b);
            }
            ComPtr<IWICPalette> palette;
            Check(factory->CreatePalette(&palette), "creating a palette");
            Check(palette->InitializeCustom(colours.data(), static_cast<UINT>(colours.size())), "filling the palette");
            Check(frame->SetPalette(palette.Get()), "setting the palette");
        }
        Check(frame->WritePixels(source.height, source.stride, static_cast<UINT>(source.bytes.size()),
                                 const_cast<BYTE*>(source.bytes.data())),
              "writing the pixels");
        Check(frame->Commit(), "finishing the frame");
    }
    Check(encoder->Commit(), "finishing the file");

    STATSTG status{};
    Check(stream->Stat(&status, STATFLAG_NONAME), "measuring the file");
    HGLOBAL memory = nullptr;
    Check(GetHGlobalFromStream(stream.Get(), &memory), "reading the file");
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    std::string file(bytes, bytes + status.cbSize.QuadPart);
    GlobalUnlock(memory);
    return file;
}

bool RunningUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

} // namespace Tesmo::Tests
