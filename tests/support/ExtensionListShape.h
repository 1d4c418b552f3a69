#pragma once

#include <string>

namespace Tesmo::Tests
{

// Empty when list is a well-formed extension list: no empty items, no upper-case
// letters, in ascending order with each item once. Otherwise what is wrong with it.
std::string ExtensionListFault(const char* list);

} // namespace Tesmo::Tests
