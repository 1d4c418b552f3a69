#include "imaging/ImagingFactory.h"

#include <objbase.h>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// The first WIC imaging factory class, by its class id: newer headers give this id the
// name CLSID_WICImagingFactory1, older ones CLSID_WICImagingFactory. Defined here rather
// than taken from an import library, so the module imports only ole32 for COM.
constexpr CLSID wicImagingFactory1 = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr IID wicImagingFactoryInterface = {
    0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};

} // namespace

HRESULT CreateImagingFactory(IWICImagingFactory** factory)
{
    return CoCreateInstance(wicImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, wicImagingFactoryInterface,
                            reinterpret_cast<void**>(factory));
}

} // namespace Tesmo::Plugin::Imaging
