#include "imaging/animation/GifColourTables.h"

#include "imaging/MetadataItems.h"
#include "imaging/WicFormats.h"

#include <wrl/client.h>

namespace Tesmo::Plugin::Imaging
{

bool HasGlobalColourTable(IWICMetadataQueryReader& decoderReader)
{
    UINT flag = 1;
    ReadNumber(decoderReader, L"/logscrdesc/GlobalColorTableFlag", flag);
    return flag != 0;
}

// Through the block readers, as the GIF plan reads a frame's place: the image descriptor
// is the block that gives Left.
bool HasLocalColourTable(IWICBitmapFrameDecode& frame)
{
    Microsoft::WRL::ComPtr<IWICMetadataBlockReader> blocks;
    UINT count = 0;
    if (frame.QueryInterface(IID_PPV_ARGS(&blocks)) != S_OK || blocks->GetCount(&count) != S_OK)
    {
        return true;
    }
    for (UINT index = 0; index < count; ++index)
    {
        Microsoft::WRL::ComPtr<IWICMetadataReader> block;
        UINT left = 0;
        UINT flag = 1;
        if (blocks->GetReaderByIndex(index, &block) == S_OK && block != nullptr &&
            ReadNumber(*block.Get(), L"Left", left))
        {
            ReadNumber(*block.Get(), L"LocalColorTableFlag", flag);
            return flag != 0;
        }
    }
    return true;
}

bool GifFrameHasColours(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame)
{
    GUID container{};
    if (decoder.GetContainerFormat(&container) != S_OK || container != WicFormats::containerGif)
    {
        return true;
    }
    Microsoft::WRL::ComPtr<IWICMetadataQueryReader> reader;
    return decoder.GetMetadataQueryReader(&reader) != S_OK || HasGlobalColourTable(*reader.Get()) ||
           HasLocalColourTable(frame);
}

} // namespace Tesmo::Plugin::Imaging
