#pragma once

#include "hosting/TiffEncoder.h"

#include <vector>

namespace Tesmo::SampleMaker
{

// samples/orientation.tif: eight pages, each storing the scene as a camera held in one of
// the eight ways would, with the Orientation tag (1 to 8) that turns it upright again. A
// viewer shows eight times the same upright scene; WIC alone hands over eight different
// pictures.
std::vector<PluginHost::TiffPage> OrientedPhotos();

} // namespace Tesmo::SampleMaker
