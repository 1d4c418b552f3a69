#pragma once

namespace Tesmo::Tests
{

// How many handles this process holds open, registry keys included.
long CountOpenHandles();

} // namespace Tesmo::Tests
