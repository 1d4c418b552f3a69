#pragma once

#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace Tesmo::Tests
{

// The packed RGB bytes a call returned against the picture's: a failure names the first
// byte that differs by more than the tolerance, as pixel and channel.
inline testing::AssertionResult PixelsMatch(const std::string& actual, const Picture& expected, int tolerance = 0)
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
