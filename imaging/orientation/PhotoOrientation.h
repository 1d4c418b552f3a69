#pragma once

#include "imaging/StripPlacement.h"

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// The turn a JPEG or TIFF frame's own tag asks for, read from metadata alone: 2 to 8, or
// uprightOrientation for every other format and for a frame whose tag is 1, missing, not
// an unsigned integer, outside 1 to 8, or not given by WIC.
UINT ReadPhotoOrientation(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame);

} // namespace Tesmo::Plugin::Imaging
