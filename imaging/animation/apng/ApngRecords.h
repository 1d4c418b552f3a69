#pragma once

#include "imaging/PngChunks.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// An animated PNG keeps its animation in chunks a still PNG decoder skips: acTL (how many
// frames), before each frame an fcTL (its rectangle on the canvas and what happens around
// it), and fdAT (its image data: an IDAT's, after a sequence number). The default image,
// the file's IDAT chunks, is frame 0 when an fcTL comes before it, and otherwise a picture
// for decoders that know no animation, hidden from the animation. This is what drawing
// the frames needs of the file, read from its chunk list alone; nothing here trusts the
// file or needs Windows.

// A stretch of the file's bytes.
struct PngBytes
{
    std::size_t offset = 0;
    std::uint32_t length = 0;
};

// What becomes of a frame's rectangle before the next frame (fcTL's dispose_op).
enum class ApngDispose : std::uint8_t
{
    None = 0,
    Background = 1, // cleared to transparent
    Previous = 2,   // back to what it was before the frame
};

// How a frame is laid on the canvas (fcTL's blend_op).
enum class ApngBlend : std::uint8_t
{
    Source = 0, // replaces the rectangle, alpha and all
    Over = 1,   // composited over it, straight alpha
};

struct ApngFrameRecord
{
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    ApngDispose dispose = ApngDispose::None;
    ApngBlend blend = ApngBlend::Source;
    std::vector<PngBytes> imageData; // the IDAT data, or the fdAT data after the sequence numbers
};

struct ApngRecords
{
    std::uint32_t width = 0; // the canvas: IHDR's size
    std::uint32_t height = 0;
    PngBytes header;                       // IHDR's data: the frames' depth, colour type, interlace
    std::vector<PngChunk> colourChunks;    // iCCP, sRGB, gAMA, cHRM, cICP: what the samples mean
    std::optional<PngBytes> palette;       // PLTE's data
    std::optional<PngBytes> transparency;  // tRNS's data
    bool defaultImageShown = false;        // frame 0 is the default image
    std::vector<ApngFrameRecord> frames;   // acTL's num_frames of them
};

// Whether the chunks before a PNG's image data (its head) announce an animation: an acTL
// among them. A still PNG is told by this look alone.
bool AnnouncesAnimation(const std::vector<PngChunk>& headChunks);

// The animation in the PNG stream bytes[0, size); nothing unless it is a valid one: every
// chunk whole with its CRC right, acTL before the first IDAT, fcTL and fdAT sequence
// numbers 0, 1, 2 ... without gaps or repeats, as many fcTL chunks as acTL says frames,
// each frame's rectangle inside the canvas and not empty, disposal and blending of known
// kinds, every frame with image data, an fcTL before the image data only for a default
// image that fills the canvas, and fdAT only after the image data, for the frame of the
// fcTL before it.
std::optional<ApngRecords> ReadApngRecords(const std::uint8_t* bytes, std::size_t size);

} // namespace Tesmo::Plugin::Imaging
