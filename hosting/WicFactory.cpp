#include "hosting/WicFactory.h"

#include "hosting/ThrowIfFailed.h"

namespace Tesmo::PluginHost
{

Microsoft::WRL::ComPtr<IWICImagingFactory> CreateWicFactory()
{
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory;
    ThrowIfFailed(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)),
                  "creating the WIC factory");
    return factory;
}

} // namespace Tesmo::PluginHost
