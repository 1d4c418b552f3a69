#pragma once

#include "hosting/IccProfileBuilders.h"
#include "hosting/PngEncoder.h"
#include "hosting/TiffEncoder.h"

#include <optional>
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

// One row of samples (8-bit values, or 16-bit ones when bitDepth is 16) as a PNG image of
// the colour type, with the profile when it is not empty; PngRow gives its bytes.
PluginHost::PngImage RowImage(PluginHost::PngColourType type, unsigned int bitDepth,
                              const std::vector<unsigned int>& samples, const std::string& profile = {});
std::string PngRow(PluginHost::PngColourType type, unsigned int bitDepth, const std::vector<unsigned int>& samples,
                   const std::string& profile = {});
// One page of one row as a TIFF, of 8-bit samples or 16-bit ones.
std::string TiffRow(PluginHost::TiffColour colour, PluginHost::TiffAlpha alpha, const std::vector<unsigned int>& samples,
                    const std::string& profile = {}, unsigned int bitDepth = 8);
// Rows of 32-bit floating-point samples, width pixels each, as one TIFF page (scRGB as WIC
// reads it: 96bppRGBFloat, 128bppRGBAFloat or 32bppGrayFloat), turned as its tag says.
std::string FloatTiff(unsigned int width, PluginHost::TiffColour colour, PluginHost::TiffAlpha alpha,
                      const std::vector<float>& samples, std::optional<PluginHost::TiffOrientation> orientation = {});

} // namespace Tesmo::Tests
