#include "imaging/MetadataItems.h"

#include <propidl.h>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// The number a read put in item, when the read succeeded. Item is cleared either way, so
// that nothing a failing read may have left in it leaks.
bool TakeNumber(HRESULT read, PROPVARIANT& item, UINT& value)
{
    bool taken = read == S_OK;
    if (!taken)
    {
        PropVariantClear(&item);
        return false;
    }
    switch (item.vt)
    {
    case VT_UI1:
        value = item.bVal;
        break;
    case VT_UI2:
        value = item.uiVal;
        break;
    case VT_UI4:
        value = item.ulVal;
        break;
    case VT_BOOL:
        value = item.boolVal != VARIANT_FALSE ? 1 : 0;
        break;
    default:
        taken = false;
        break;
    }
    PropVariantClear(&item);
    return taken;
}

} // namespace

bool ReadNumber(IWICMetadataQueryReader& reader, const wchar_t* query, UINT& value)
{
    PROPVARIANT item;
    PropVariantInit(&item);
    return TakeNumber(reader.GetMetadataByName(query, &item), item, value);
}

bool ReadNumber(IWICMetadataReader& block, const wchar_t* name, UINT& value)
{
    PROPVARIANT id;
    PropVariantInit(&id);
    id.vt = VT_LPWSTR;
    id.pwszVal = const_cast<wchar_t*>(name); // only read; never cleared
    PROPVARIANT item;
    PropVariantInit(&item);
    return TakeNumber(block.GetValue(nullptr, &id, &item), item, value);
}

} // namespace Tesmo::Plugin::Imaging
