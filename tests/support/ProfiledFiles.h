#pragma once

#include "hosting/IccProfileBuilders.h"
#include "hosting/PngEncoder.h"
#include "hosting/TiffEncoder.h"

#include <string>
#include <vector>

namespace Tesmo::Tests
{

// Small files for the colour and transparency tests, written byte by byte: one row of
// pixels whose samples the test lists, with the profile it names.

// A profile's bytes.
std::string ProfileBytes(const PluginHost::IccProfileToEncode& profile);
// sRGB's colorants with red's and green's swapped, and sRGB's curve: pins channel order.
std::string SwappedRedAndGreenProfile();
// sRGB's colorants with linear light for the curve: the sRGB level of v is sRGB's curve of v.
std::string LinearRgbProfile();
std::string LinearGreyProfile();
// sRGB's colorants with a curve of its own for each channel: linear light for red, sRGB's
// curve for green (which it leaves as it is), gamma 2 for blue.
std::string CurvePerChannelProfile();
// The linear RGB profile damaged as a hostile file would: its declared size (the
// header's first four bytes) past the bytes there are; its first tag's offset past its
// end; its first tag's length running four bytes past its end from a good offset.
std::string LengthPastTheEnd();
std::string TagOutside();
std::string TagEndOutside();

// One row of samples (8-bit values, or 16-bit ones when bitDepth is 16) as a PNG of the
// colour type, with the profile when it is not empty.
std::string PngRow(PluginHost::PngColourType type, unsigned int bitDepth, const std::vector<unsigned int>& samples,
                   const std::string& profile = {});
// One page of one row as a TIFF, of 8-bit samples or 16-bit ones.
std::string TiffRow(PluginHost::TiffColour colour, PluginHost::TiffAlpha alpha, const std::vector<unsigned int>& samples,
                    const std::string& profile = {}, unsigned int bitDepth = 8);

} // namespace Tesmo::Tests
