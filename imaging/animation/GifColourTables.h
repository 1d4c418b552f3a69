#pragma once

#include <wincodec.h>

namespace Tesmo::Plugin::Imaging
{

// Whether a GIF frame has colours to be drawn in: its own table (its image descriptor's
// local table flag) or the file's global one. Wine's GIF decoder, like bare WIC, reads
// through a null palette when asked for the pixels or palette of a frame with neither,
// and takes the host down with it; such a frame must be refused before either is asked.

// A flag the decoder does not give (a GIF codec without metadata readers, say) counts as
// set: such a frame is asked for its pixels as it always was.

// The file's global table flag, from the decoder's query reader.
bool HasGlobalColourTable(IWICMetadataQueryReader& decoderReader);

// The frame's local table flag, from its image descriptor block.
bool HasLocalColourTable(IWICBitmapFrameDecode& frame);

// Whether the decoder's frame can be asked for its pixels: false only for a GIF frame
// whose flags say it has neither table.
bool GifFrameHasColours(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame);

} // namespace Tesmo::Plugin::Imaging
