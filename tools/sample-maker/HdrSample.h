#pragma once

#include "hosting/TiffEncoder.h"

namespace Tesmo::SampleMaker
{

// The scene in linear light (scRGB: 1.0 is SDR white) as an HDR screenshot holds it: the
// scene's colours with SDR white at 2.5, as Windows stores them when its SDR content
// brightness is raised, and the sun a highlight of up to 12.5 (1000 nits) at its centre,
// with a glow around it in the sky. One page of 32-bit float RGBA samples, alpha 1, from
// which Debian's JxrEncApp makes the same scene as a 64bppRGBAHalf JPEG XR.
PluginHost::TiffPage HdrScene();

} // namespace Tesmo::SampleMaker
