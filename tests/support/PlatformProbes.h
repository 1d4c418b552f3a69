#pragma once

namespace Tesmo::Tests
{

// True when running under Wine rather than Windows.
bool RunningUnderWine();

} // namespace Tesmo::Tests
