#include "imaging/colour/profile/ColourMatrix.h"

#include <cmath>

namespace Tesmo::Plugin::Imaging
{

bool Invert(const ColourMatrix& m, ColourMatrix& inverse)
{
    const double determinant = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                               m[2] * (m[3] * m[7] - m[4] * m[6]);
    if (!std::isfinite(determinant) || std::fabs(determinant) < 1e-9)
    {
        return false;
    }
    inverse = {(m[4] * m[8] - m[5] * m[7]) / determinant, (m[2] * m[7] - m[1] * m[8]) / determinant,
               (m[1] * m[5] - m[2] * m[4]) / determinant, (m[5] * m[6] - m[3] * m[8]) / determinant,
               (m[0] * m[8] - m[2] * m[6]) / determinant, (m[2] * m[3] - m[0] * m[5]) / determinant,
               (m[3] * m[7] - m[4] * m[6]) / determinant, (m[1] * m[6] - m[0] * m[7]) / determinant,
               (m[0] * m[4] - m[1] * m[3]) / determinant};
    return true;
}

ColourMatrix Multiply(const ColourMatrix& left, const ColourMatrix& right)
{
    ColourMatrix product{};
    for (std::size_t row = 0; row < 3; ++row)
    {
        for (std::size_t column = 0; column < 3; ++column)
        {
            for (std::size_t k = 0; k < 3; ++k)
            {
                product[row * 3 + column] += left[row * 3 + k] * right[k * 3 + column];
            }
        }
    }
    return product;
}

Xyz Multiply(const ColourMatrix& matrix, const Xyz& xyz)
{
    Xyz product{};
    for (std::size_t row = 0; row < 3; ++row)
    {
        product[row] = matrix[row * 3] * xyz[0] + matrix[row * 3 + 1] * xyz[1] + matrix[row * 3 + 2] * xyz[2];
    }
    return product;
}

ColourMatrix FromColumns(const std::array<Xyz, 3>& columns)
{
    ColourMatrix matrix{};
    for (std::size_t row = 0; row < 3; ++row)
    {
        for (std::size_t column = 0; column < 3; ++column)
        {
            matrix[row * 3 + column] = columns[column][row];
        }
    }
    return matrix;
}

} // namespace Tesmo::Plugin::Imaging
