#pragma once

#include "imaging/transparency/Transparency.h"

namespace Tesmo::Plugin::Imaging
{

// What the settings file says of the picture a frame comes as. Each answer is asked only
// when it changes the frame, so that no other decode reads the settings file. The
// switches give a frame back as WIC hands it over rather than as a viewer shows it.
struct FrameSettings
{
    bool (*gifFramesRaw)();    // asked for a GIF frame that needs composing
    bool (*apngFramesRaw)();   // asked for a PNG file that is a valid animation
    bool (*orientationRaw)();  // asked for a JPEG or TIFF frame whose tag asks for a turn
    bool (*profileRaw)();      // asked for a frame whose profile would change its colours
    bool (*transparencyRaw)(); // asked for a frame with alpha
    BackgroundColour (*background)(); // asked for a frame with alpha, when not raw
    bool (*hdrClip)();         // asked for a linear-light frame brighter than SDR white
};

} // namespace Tesmo::Plugin::Imaging
