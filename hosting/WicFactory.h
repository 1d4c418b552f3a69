#pragma once

#include <wincodec.h>
#include <wrl/client.h>

namespace Tesmo::PluginHost
{

// WIC's imaging factory, for a thread that has joined COM. Throws std::runtime_error when
// it cannot be created.
Microsoft::WRL::ComPtr<IWICImagingFactory> CreateWicFactory();

} // namespace Tesmo::PluginHost
