#pragma once

#include "support/TestImages.h"

#include <gtest/gtest.h>

#include <string>

namespace Tesmo::Tests
{

// The packed RGB bytes a call returned against the picture's: a failure names the first
// byte that differs by more than the tolerance, as pixel and channel.
testing::AssertionResult PixelsMatch(const std::string& actual, const Picture& expected, int tolerance = 0);

} // namespace Tesmo::Tests
