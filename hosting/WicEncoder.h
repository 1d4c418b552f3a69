#pragma once

#include <windows.h>
#include <wincodec.h>

#include <optional>
#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// One frame as WIC's encoders take it: rows of pixels in a WIC pixel format.
struct FrameToEncode
{
    unsigned int width = 0;
    unsigned int height = 0;
    GUID format{};
    unsigned int stride = 0; // bytes from one row to the next
    std::vector<BYTE> bytes;
    // Indexed formats: the colours as 0xAARRGGBB; left empty, an 8-bit indexed frame gets
    // the fixed 256-colour halftone palette.
    std::vector<WICColor> palette;
    // JPEG only: 0 (smallest) to 1 (best); unset keeps the encoder's default.
    std::optional<float> jpegQuality;
};

// Encodes the frames, in order, with WIC's encoder for the container format and returns
// the file's bytes. Joins the calling thread to COM for the call if it has not joined yet.
// Throws std::runtime_error naming the step that failed, also when the encoder does not
// take a frame's pixel format.
std::string EncodeWithWic(const GUID& containerFormat, const std::vector<FrameToEncode>& frames);

// The same, written to the file at path.
void EncodeWithWic(const std::wstring& path, const GUID& containerFormat, const std::vector<FrameToEncode>& frames);

} // namespace Tesmo::PluginHost
