#include "support/PixelsMatch.h"

#include <cstdlib>

namespace Tesmo::Tests
{

testing::AssertionResult PixelsMatch(const std::string& actual, const Picture& expected, int tolerance)
{
    const std::string wanted = expected.Rgb();
    if (actual.size() != wanted.size())
    {
        return testing::AssertionFailure() << actual.size() << " bytes, expected " << wanted.size();
    }
    for (std::size_t i = 0; i < wanted.size(); ++i)
    {
        const int difference = std::abs(static_cast<unsigned char>(actual[i]) - static_cast<unsigned char>(wanted[i]));
        if (difference > tolerance)
        {
            const std::size_t pixel = i / 3;
            return testing::AssertionFailure()
                   << "byte " << i << " (x " << pixel % expected.width << ", y " << pixel / expected.width
                   << ", channel " << "RGB"[i % 3] << ") is " << int(static_cast<unsigned char>(actual[i]))
                   << ", expected " << int(static_cast<unsigned char>(wanted[i])) << " within " << tolerance;
        }
    }
    return testing::AssertionSuccess();
}

} // namespace Tesmo::Tests
