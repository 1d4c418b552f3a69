#pragma once

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// Cameras store the sensor's rows as they come and record how the camera was held in the
// Orientation tag (274 of the EXIF/TIFF IFD). Every current viewer turns the picture as
// the tag says; WIC's JPEG and TIFF decoders hand over the stored rows. Orientation k
// means the stored rows must become, to be viewed upright:
//   1 as they are            5 mirrored along the main diagonal (transposed)
//   2 mirrored left to right 6 turned 90 degrees clockwise
//   3 turned 180 degrees     7 mirrored along the other diagonal (transversed)
//   4 mirrored top to bottom 8 turned 90 degrees anticlockwise
// Other codecs (HEIF, AVIF, JPEG XL, WebP, camera RAW) apply their format's own transform
// while decoding; turning their frames by the tag as well would turn them twice.
constexpr UINT uprightOrientation = 1;

// The turn a JPEG or TIFF frame's own tag asks for, read from metadata alone: 2 to 8, or
// uprightOrientation for every other format and for a frame whose tag is 1, missing, not
// an unsigned integer, outside 1 to 8, or not given by WIC.
UINT ReadPhotoOrientation(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame);

// Whether the upright picture's width is the stored height (5 to 8).
constexpr bool SwapsSides(UINT orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// Copies source, width x height pixels of packed 24-bit RGB as stored, into pixels (the
// same number of bytes, stride the upright width x 3) turned as orientation says. Reads
// the source top-down in strips of rows, so no second buffer of the frame's size is
// needed. S_OK, or the first failure of a strip's copy with the buffer as far as it got.
HRESULT CopyOriented(IWICBitmapSource& source, UINT width, UINT height, UINT orientation, BYTE* pixels);

} // namespace Tesmo::Plugin::Imaging
