#pragma once

namespace Tesmo::Tests
{

// How many handles this process holds open, registry keys included; -1 when the system
// will not tell. (Wine's GetProcessHandleCount always answers 0.)
long CountOpenHandles();

} // namespace Tesmo::Tests
