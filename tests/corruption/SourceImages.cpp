#include "corruption/Corpus.h"

#include "support/TestImages.h"

#include <wincodec.h>

namespace Tesmo::Tests::Corruption
{

using PluginHost::EncodeWithWic;

namespace
{

const SourceImage sourceImages[] = {
    {"Bmp24", L"case.bmp", BmpFields, [] { return Bmp24(PatternPicture(5, 3, 1)); }},
    {"Bmp32", L"case.bmp", BmpFields, [] { return Bmp32(PatternPicture(4, 3, 2, true)); }},
    {"Bmp8", L"case.bmp", BmpFields, [] { return Bmp8(PatternIndexed(5, 3, 6, 3)); }},
    {"PngRgb", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsBgr24(PatternPicture(5, 4, 4))}); }},
    {"PngRgba", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsBgra32(PatternPicture(4, 4, 5, true))}); }},
    {"PngPalette", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsIndexed8(PatternIndexed(5, 3, 7, 6))}); }},
    {"PngGrey", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsGray8(GreyPicture(6, 3, 7))}); }},
    {"Png16Bit", L"case.png", PngFields,
     [] { return EncodeWithWic(GUID_ContainerFormatPng, {AsRgb48(PatternPicture(3, 3, 8))}); }},
    {"GifThreeFrames", L"case.gif", GifFields,
     [] {
         return EncodeWithWic(GUID_ContainerFormatGif, {AsIndexed8(PatternIndexed(4, 3, 5, 9)),
                                                        AsIndexed8(PatternIndexed(4, 3, 3, 10)),
                                                        AsIndexed8(PatternIndexed(4, 3, 8, 11))});
     }},
    {"TiffThreePages", L"case.tif", TiffFields,
     [] {
         return EncodeWithWic(GUID_ContainerFormatTiff, {AsBgr24(PatternPicture(3, 2, 12)),
                                                         AsGray8(GreyPicture(2, 3, 13)),
                                                         AsBgra32(PatternPicture(2, 2, 14, true))});
     }},
    {"Jpeg", L"case.jpg", JpegFields,
     [] { return EncodeWithWic(GUID_ContainerFormatJpeg, {AsBgr24(GradientPicture(16, 16))}); }},
    {"IcoThreeImages", L"case.ico", IcoFields,
     [] {
         return Ico({{3, 2, 32, IconDib(PatternPicture(3, 2, 15, true), 32)},
                     {2, 2, 24, IconDib(PatternPicture(2, 2, 16), 24)},
                     {4, 3, 32, EncodeWithWic(GUID_ContainerFormatPng, {AsBgra32(PatternPicture(4, 3, 17, true))})}});
     }},
};

} // namespace

std::span<const SourceImage> SourceImages()
{
    return sourceImages;
}

} // namespace Tesmo::Tests::Corruption
