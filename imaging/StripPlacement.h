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

// Whether the upright picture's width is the stored height (5 to 8).
constexpr bool SwapsSides(UINT orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// Places rows stored rows of a width x height frame, packed 24-bit RGB as stored starting
// at stored row top, where the upright picture has them in pixels (stride the upright
// width x 3). The strip holds one byte more than its rows: runs are written four bytes a
// pixel.
void PlaceStrip(const BYTE* strip, UINT width, UINT height, UINT top, UINT rows, UINT orientation, BYTE* pixels);

} // namespace Tesmo::Plugin::Imaging
