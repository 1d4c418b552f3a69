#pragma once

#include "hosting/TiffEncoder.h"

#include <vector>

namespace Tesmo::SampleMaker
{

// samples/colour.tif: the scene twice, on page 0 as 8-bit sRGB without a profile, on page 1
// converted to ProPhoto RGB at 16 bits a channel with ProPhoto's profile embedded. A
// colour-managed viewer shows the two pages alike; shown as sRGB, page 1's stored numbers
// look dull, since ProPhoto's wide primaries put every colour nearer grey.
std::vector<PluginHost::TiffPage> ColourPages();

} // namespace Tesmo::SampleMaker
