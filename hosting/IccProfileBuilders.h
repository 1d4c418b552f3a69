#pragma once

#include "hosting/ColourMaths.h"
#include "hosting/IccProfile.h"
#include "hosting/IccTagTypes.h"

#include <array>
#include <functional>
#include <string>

namespace Tesmo::PluginHost
{

// Whole profiles of the kinds a decoder meets, built from a few figures each, so a test
// names the colour space and knows what an sRGB conversion must give. Every profile has
// 'desc', 'cprt' and 'wtpt'; pass the result to EncodeIccProfile.

// An RGB colour space as published: primaries and white in CIE xy, one tone curve.
struct RgbColourSpace
{
    std::string name; // the profile's description
    Chromaticity red;
    Chromaticity green;
    Chromaticity blue;
    Chromaticity white;
    IccToneCurve curve;
};

RgbColourSpace SrgbSpace();      // sRGB's primaries, D65, its parametric curve
RgbColourSpace AdobeRgbSpace();  // Adobe RGB (1998): gamma 563/256, D65
RgbColourSpace ProPhotoSpace();  // ROMM RGB: D50, gamma 1.8 with its linear piece below 1/512
RgbColourSpace DisplayP3Space(); // P3 primaries, D65, sRGB's curve

// The XYZ of full red, green and blue relative to D50, as a matrix/TRC profile stores them.
struct RgbColorants
{
    Xyz red;
    Xyz green;
    Xyz blue;
};

// The space's colorants, Bradford-adapted from its white to D50.
RgbColorants D50Colorants(const RgbColourSpace& space);

// A matrix/TRC display profile ('mntr', RGB, PCS XYZ) of a published space: its adapted
// colorants, the curve on all three channels, and the adaptation as 'chad'.
IccProfileToEncode MatrixProfile(const RgbColourSpace& space, IccVersion version = IccVersion::V2_1);

// The same from colorants given directly (already relative to D50; no 'chad'), e.g.
// sRGB's green as rXYZ and its red as gXYZ for a profile that swaps the two.
IccProfileToEncode MatrixProfile(const std::string& name, const RgbColorants& colorants, const IccToneCurve& curve,
                                 IccVersion version = IccVersion::V2_1);

// The same with a curve of its own for each channel, red's, green's, blue's.
IccProfileToEncode MatrixProfile(const std::string& name, const RgbColorants& colorants,
                                 const std::array<IccToneCurve, 3>& curves, IccVersion version = IccVersion::V2_1);

// A grey display profile ('mntr', GRAY, PCS XYZ) with the curve as 'kTRC'.
IccProfileToEncode GreyProfile(const std::string& name, const IccToneCurve& curve,
                               IccVersion version = IccVersion::V2_1);

// An RGB profile that only a colour engine can apply: PCS Lab, 'A2B0' and 'B2A0' lut16
// tables sampled from the two functions on a grid of gridPoints per channel. Expect
// version 2 for exact figures: under the perceptual intent little CMS (and so Wine's
// mscms) reads a version 4 table as mapping black to the perceptual reference medium's
// black and compensates, which moves colours by a few levels.
struct RgbLabConversion
{
    std::function<Lab(const Rgb&)> toLab;   // device RGB, 0 to 1, to CIELAB relative to D50
    std::function<Rgb(const Lab&)> fromLab; // and back (clamped to 0 to 1 when written)
};

// sRGB's own conversion, for a table profile that should change nothing.
RgbLabConversion SrgbLabConversion();

IccProfileToEncode TableProfile(const std::string& name, const RgbLabConversion& conversion, unsigned int gridPoints,
                                std::uint32_t deviceClass = IccSignature("spac"),
                                IccVersion version = IccVersion::V2_1);

// A CMYK output profile ('prtr', CMYK, PCS Lab) for inks that a naive model describes:
// r = (1 - c)(1 - k), g = (1 - m)(1 - k), b = (1 - y)(1 - k) taken as sRGB ('A2B0'), and
// its exact inverse for every sRGB colour, k = 1 - max(r, g, b) ('B2A0'; colours outside
// sRGB are clipped first). Paper white is sRGB white, so 'wtpt' is D50. With cyan and
// magenta swapped, the first ink takes green away and the second red: pure cyan ink
// shows as magenta, unlike anything a naive conversion makes of it.
IccProfileToEncode NaiveCmykProfile(unsigned int gridPoints = 9, IccVersion version = IccVersion::V2_1,
                                    bool cyanAndMagentaSwapped = false);

// A profile's bytes damaged as a hostile file would damage them, each a bound a reader must
// check: the declared size (the header's first four bytes) past the bytes there are; the
// first tag's offset past the profile's end; the first tag's length running four bytes
// past the end from a good offset; the tag count past the table the profile holds.
enum class IccDamage
{
    LengthPastTheEnd,
    TagOutside,
    TagEndOutside,
    TagCountPastTheTable,
};
std::string DamagedIccProfile(std::string profile, IccDamage damage);

} // namespace Tesmo::PluginHost
