#pragma once

#include "hosting/PluginLibrary.h"

#include <string>
#include <vector>

namespace Tesmo::PluginHost
{

// The host tool's commands; each returns the process exit code.
int PrintDisplayName(const PluginLibrary& plugin);
int PrintSupportedExtensions(const PluginLibrary& plugin);

// Every decoder WIC knows on this machine, each extension it declares marked offered or not
// by the plug-in's list (and excluded where the settings file beside the DLL says so),
// then a summary of what WIC decodes and the list leaves out.
int PrintFormats(const PluginLibrary& plugin);

// Decodes frame frameArgument ("all" for every frame) of the image and prints each frame's
// count and size. Each frame goes to output unless it is empty (.png as PNG, anything else
// as PPM; with "all", each frame's index goes before the extension: frame-0.ppm,
// frame-1.ppm ...), and all of them onto one contact sheet written as PNG to sheetOutput
// unless that is empty.
int Decode(const PluginLibrary& plugin, const std::wstring& imagePath, const std::wstring& frameArgument,
           const std::wstring& output, const std::wstring& sheetOutput);

// One image and the plug-in it is decoded through.
struct PluginAndImage
{
    std::wstring plugin;
    std::wstring image;
};

// Decodes every frame of each image through its plug-in, in order, and writes all of them
// onto one contact sheet as PNG to output, numbered from 0 across the decodes: one image
// through two copies of the DLL with different settings files, side by side.
int DrawSheet(const std::vector<PluginAndImage>& decodes, const std::wstring& output);

// Where show writes the contact sheet beside its frames: output's name up to its last
// extension, then "-sheet.png" (frame.ppm: frame-sheet.png).
std::wstring SheetBeside(const std::wstring& output);

} // namespace Tesmo::PluginHost
