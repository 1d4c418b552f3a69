#include "imaging/orientation/PhotoOrientation.h"

#include "imaging/MetadataItems.h"
#include "imaging/WicFormats.h"

#include <wincodecsdk.h>

#include <wrl/client.h>

namespace Tesmo::Plugin::Imaging
{

namespace
{

using Microsoft::WRL::ComPtr;

// Wine's block readers hand over a metadata block that failed to load (a TIFF directory
// cut short, say) as a null reader with S_OK, and its query readers then read through
// that null pointer and kill the process. A frame with such a block is read as having no
// tag. A block that fails with an error is passed on as an error, which the query reader
// reports; a codec without block readers answers its query reader on its own.
bool NoBlockIsNull(IWICBitmapFrameDecode& frame)
{
    ComPtr<IWICMetadataBlockReader> blocks;
    UINT count = 0;
    if (frame.QueryInterface(IID_PPV_ARGS(&blocks)) != S_OK || blocks->GetCount(&count) != S_OK)
    {
        return true;
    }
    for (UINT index = 0; index < count; ++index)
    {
        ComPtr<IWICMetadataReader> block;
        if (blocks->GetReaderByIndex(index, &block) == S_OK && block == nullptr)
        {
            return false;
        }
    }
    return true;
}

} // namespace

UINT ReadPhotoOrientation(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame)
{
    GUID container{};
    if (decoder.GetContainerFormat(&container) != S_OK)
    {
        return uprightOrientation;
    }
    const wchar_t* const query = container == WicFormats::containerJpeg   ? L"/app1/ifd/{ushort=274}"
                                 : container == WicFormats::containerTiff ? L"/ifd/{ushort=274}"
                                                                    : nullptr;
    ComPtr<IWICMetadataQueryReader> reader;
    UINT orientation = uprightOrientation;
    if (query == nullptr || !NoBlockIsNull(frame) || frame.GetMetadataQueryReader(&reader) != S_OK ||
        !ReadNumber(*reader.Get(), query, orientation) || orientation < 1 || orientation > 8)
    {
        return uprightOrientation;
    }
    return orientation;
}

} // namespace Tesmo::Plugin::Imaging
