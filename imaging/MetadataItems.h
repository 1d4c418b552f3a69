#pragma once

#include <wincodec.h>
#include <wincodecsdk.h>

namespace Tesmo::Plugin::Imaging
{

// One numeric metadata item: VT_UI1, VT_UI2, VT_UI4, or VT_BOOL as 0 or 1, the types the
// GIF and TIFF fields the plug-in reads come in. A missing item
// (WINCODEC_ERR_PROPERTYNOTFOUND) or an item of another type leaves value as it was and
// gives false.

// By its query path, from a query reader (a decoder's or a frame's).
bool ReadNumber(IWICMetadataQueryReader& reader, const wchar_t* query, UINT& value);

// By its name, from one metadata block (a GIF frame's image descriptor, say), whose items
// are identified by their names as VT_LPWSTR.
bool ReadNumber(IWICMetadataReader& block, const wchar_t* name, UINT& value);

} // namespace Tesmo::Plugin::Imaging
