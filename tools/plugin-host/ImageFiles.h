#pragma once

#include <string>

namespace Tesmo::PluginHost
{

// Writes packed 24-bit RGB rows as a binary PPM (P6) file.
void WritePpm(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb);

// Writes packed 24-bit RGB rows as a PNG file through WIC's encoder.
void WritePng(const std::wstring& path, unsigned int width, unsigned int height, const unsigned char* rgb);

} // namespace Tesmo::PluginHost
