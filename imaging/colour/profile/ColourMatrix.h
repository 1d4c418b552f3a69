#pragma once

#include "imaging/colour/profile/IccProfile.h"

#include <array>

namespace Tesmo::Plugin::Imaging
{

// A 3 x 3 matrix between colour spaces, row by row: linear RGB to XYZ, XYZ to XYZ under
// another white, and their products.
using ColourMatrix = std::array<double, 9>;

// False when the matrix has no inverse to work with (a determinant of about 0, or not a
// number).
bool Invert(const ColourMatrix& matrix, ColourMatrix& inverse);
ColourMatrix Multiply(const ColourMatrix& left, const ColourMatrix& right);
Xyz Multiply(const ColourMatrix& matrix, const Xyz& xyz);
// The matrix whose columns are the three colours (colorants, say).
ColourMatrix FromColumns(const std::array<Xyz, 3>& columns);

} // namespace Tesmo::Plugin::Imaging
