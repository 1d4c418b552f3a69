#pragma once

#include "hosting/ColourMaths.h"
#include "hosting/IccProfile.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// The contents of an ICC profile's tags, type signature first, in the encodings ICC
// defines (big-endian; s15Fixed16, u8Fixed8, 16-bit tables).

// A tone curve from device value to linear light, in any of the forms a profile can hold.
struct IccToneCurve
{
    enum class Kind
    {
        Identity,   // 'curv' with no entries
        Gamma,      // 'curv' with one u8Fixed8 entry
        Sampled,    // 'curv' with a table
        Parametric, // 'para', one of ICC's five functions
    };
    Kind kind = Kind::Identity;
    double gamma = 1.0;                  // Gamma: rounded to 1/256
    std::vector<std::uint16_t> samples;  // Sampled: at evenly spaced inputs, 0 to 65535
    unsigned int function = 0;           // Parametric: function type 0 to 4
    std::vector<double> parameters;      // Parametric: g, a, b, c, d, e, f as far as the type has them

    static IccToneCurve Identity();
    static IccToneCurve Gamma(double gamma);
    static IccToneCurve Sampled(std::vector<std::uint16_t> samples);
    // count samples of curve(x) for x from 0 to 1, each clamped to 0 to 1.
    static IccToneCurve Sampled(unsigned int count, const std::function<double(double)>& curve);
    static IccToneCurve Parametric(unsigned int function, std::vector<double> parameters);
    // sRGB's curve as parametric type 3 (gamma 2.4 with its linear piece near black).
    static IccToneCurve Srgb();
};

std::string IccXyzType(const Xyz& xyz);            // 'XYZ '
std::string IccCurveType(const IccToneCurve& curve); // 'curv' or 'para'
std::string IccMatrixType(const Matrix3& matrix);    // 'sf32', rows first, as 'chad' holds it

// Text in the type the profile's version has for it: a description ('desc' tag) is a
// textDescriptionType in version 2, other text ('cprt') a textType; version 4 writes both
// as multiLocalizedUnicodeType (en-US). ASCII only.
std::string IccDescriptionType(const std::string& text, IccVersion version);
std::string IccTextType(const std::string& text, IccVersion version);

// A lut16Type ('mft2') table: identity matrix and identity input and output curves (256
// entries each), and a grid of gridPoints per input (2 to 255) filled from a function.
// Inputs and outputs are fractions 0 to 1 of each channel's 16-bit encoding; outputs are
// clamped. The first input varies slowest, as ICC orders the grid.
using IccGridFunction = std::function<std::vector<double>(const std::vector<double>& inputs)>;
std::string IccLut16Type(unsigned int inputs, unsigned int outputs, unsigned int gridPoints,
                         const IccGridFunction& function);

// CIELAB in a lut16 table's encoding (the 16-bit one of version 2, which lut16 keeps in
// version 4 too: L 0 to 100 as 0 to 0xFF00, a and b -128 to 127.996 as 0 to 0xFFFF), as
// fractions of 65535.
std::array<double, 3> Lut16FromLab(const Lab& lab);
Lab Lut16ToLab(const std::vector<double>& encoded);

} // namespace Tesmo::PluginHost
