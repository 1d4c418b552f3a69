#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// Writes packed 24-bit RGB rows as a binary PPM (P6) file.
void WritePpm(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb);

// Encodes one frame with WIC's encoder for the container format: rows of packed pixels in
// the given WIC pixel format; an 8-bit indexed frame gets the fixed 256-colour halftone
// palette. The calling thread must have joined COM.
void EncodeImageFile(const std::wstring& path, const GUID& container, const GUID& pixelFormat, unsigned int width,
                     unsigned int height, const std::vector<unsigned char>& pixels);

// Writes packed 24-bit RGB rows as a PNG file through WIC's encoder.
void WritePng(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb);

} // namespace Tesmo::PluginHost
