#include "OrientedPhotos.h"

#include "Scene.h"

namespace Tesmo::SampleMaker
{

namespace
{

struct Point
{
    unsigned int x;
    unsigned int y;
};

// Where stored pixel (x, y) of a width x height page with the given Orientation tag shows
// in the upright picture.
Point Upright(unsigned int orientation, unsigned int width, unsigned int height, Point stored)
{
    const unsigned int mirroredX = width - 1 - stored.x;
    const unsigned int mirroredY = height - 1 - stored.y;
    switch (orientation)
    {
    case 2: // mirrored left to right
        return {mirroredX, stored.y};
    case 3: // turned 180 degrees
        return {mirroredX, mirroredY};
    case 4: // mirrored top to bottom
        return {stored.x, mirroredY};
    case 5: // transposed
        return {stored.y, stored.x};
    case 6: // turned 90 degrees clockwise
        return {mirroredY, stored.x};
    case 7: // transversed
        return {mirroredY, mirroredX};
    case 8: // turned 90 degrees anticlockwise
        return {stored.y, mirroredX};
    default:
        return stored;
    }
}

PluginHost::TiffPage StoredAs(const Indices& upright, unsigned int orientation)
{
    const bool sidesSwap = orientation >= 5;
    PluginHost::TiffPage page{sidesSwap ? upright.height : upright.width, sidesSwap ? upright.width : upright.height,
                              {}, PluginHost::TiffOrientation{orientation}};
    for (unsigned int y = 0; y < page.height; ++y)
    {
        for (unsigned int x = 0; x < page.width; ++x)
        {
            const Point shown = Upright(orientation, page.width, page.height, {x, y});
            const PluginHost::GifColour colour = palette[upright.at[shown.y * upright.width + shown.x]];
            page.samples += {static_cast<char>(colour >> 16 & 0xFF), static_cast<char>(colour >> 8 & 0xFF),
                             static_cast<char>(colour & 0xFF)};
        }
    }
    return page;
}

} // namespace

std::vector<PluginHost::TiffPage> OrientedPhotos()
{
    const Indices upright = Scene();
    std::vector<PluginHost::TiffPage> pages;
    for (unsigned int orientation = 1; orientation <= 8; ++orientation)
    {
        pages.push_back(StoredAs(upright, orientation));
    }
    return pages;
}

} // namespace Tesmo::SampleMaker
