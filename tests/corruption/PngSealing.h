#pragma once

#include <string>

namespace Tesmo::Tests::Corruption
{

// A PNG decoder rejects a chunk whose CRC does not match before it reads the chunk:
// recomputed CRCs let a damaged header or pixel stream through to the later steps. Also
// reaches the PNG images inside an icon.
void ResealPngs(std::string& bytes);

} // namespace Tesmo::Tests::Corruption
