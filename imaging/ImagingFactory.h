#pragma once

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// A new instance of the first WIC imaging factory class, in-process, into factory (which
// must be empty). The result is CoCreateInstance's own; COM must be initialised on the
// calling thread.
HRESULT CreateImagingFactory(IWICImagingFactory** factory);

} // namespace Tesmo::Plugin::Imaging
