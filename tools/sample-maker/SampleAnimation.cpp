#include "SampleAnimation.h"

#include "Scene.h"

namespace Tesmo::SampleMaker
{

namespace
{

using PluginHost::GifControl;
using PluginHost::GifImage;

constexpr unsigned int sunPatchSize = 10;

// The ball with a glint, its corners see-through so the scene shows around it.
GifImage BouncingBall(unsigned int left, unsigned int top, unsigned int disposal)
{
    return GifImage{left, top, ballSize, ballSize, BallPatch().at, GifControl{disposal, true, seeThrough, 20}, {}, false};
}

// The sun again, turned to the evening colour, in a patch around it.
GifImage EveningSun()
{
    Indices patch(sunPatchSize, sunPatchSize, seeThrough);
    patch.Disc(10, 10, 9, evening);
    return GifImage{35, 2, sunPatchSize, sunPatchSize, patch.at, GifControl{1, true, seeThrough, 100}, {}, false};
}

} // namespace

PluginHost::GifToEncode SampleAnimation()
{
    PluginHost::GifToEncode gif{sceneWidth, sceneHeight, palette, sky, {}};
    gif.images = {
        GifImage{0, 0, sceneWidth, sceneHeight, Scene().at, GifControl{1, false, 0, 50}, {}, false},
        BouncingBall(16, 6, 2),  // in the sky; restoring the background takes it away again
        BouncingBall(26, 18, 3), // landing in the grass; restoring the previous screen puts the grass back
        BouncingBall(34, 14, 1), // bounced up; left where it is
        EveningSun(),    // the ball stays in this frame
    };
    return gif;
}

} // namespace Tesmo::SampleMaker
