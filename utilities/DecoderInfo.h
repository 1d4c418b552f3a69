#pragma once

#include <string>

namespace Tesmo::Plugin::Utilities
{

// One WIC decoder: as registered, its instance key's "FriendlyName" and "CLSID" and the
// "FileExtensions" of its class key; or as WIC's component enumerator reports it, its
// friendly name, class id in registry text and extensions. The extensions are
// comma-separated, each with its leading dot.
struct DecoderInfo
{
    std::wstring friendlyName;
    std::wstring clsid;
    std::wstring fileExtensions;
};

} // namespace Tesmo::Plugin::Utilities
