#pragma once

#include <string>

namespace Tesmo::PluginHost
{

// The host tool's output: a decoded frame's packed 24-bit RGB rows, written as a file.

// A binary PPM (P6) file.
void WritePpm(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb);

// A PNG file, through WIC's encoder.
void WritePng(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb);

} // namespace Tesmo::PluginHost
