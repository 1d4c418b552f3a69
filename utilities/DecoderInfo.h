#pragma once

#include <string>

namespace Tesmo::Plugin::Utilities
{

// One WIC decoder as registered: its instance key's "FriendlyName" and "CLSID", and the
// "FileExtensions" of its class key (comma-separated, each with its leading dot).
struct DecoderInfo
{
    std::wstring friendlyName;
    std::wstring clsid;
    std::wstring fileExtensions;
};

} // namespace Tesmo::Plugin::Utilities
