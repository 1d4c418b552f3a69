#pragma once

#include <windows.h>
#include <icm.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// Windows' colour engine (mscms.dll, the ICM API), converting colours from an embedded
// profile to the system's sRGB profile, or to a target profile given, with perceptual
// intent. The DLL is loaded from the
// system folder when a frame first needs it and freed with this object, so that a host
// that never opens such a frame never loads it. Every handle is released exactly once, by
// the destructor, last made first.
class ColourEngine
{
public:
    // Opens the engine for the profile in bytes[0, size) to target's (none: the system's
    // sRGB profile); Ready() says whether it could.
    ColourEngine(const std::uint8_t* bytes, std::size_t size, std::vector<std::uint8_t> target = {});
    virtual ~ColourEngine();
    ColourEngine(const ColourEngine&) = delete;
    ColourEngine& operator=(const ColourEngine&) = delete;

    bool Ready() const { return transform != nullptr; }

    // count colours of type inputType (COLOR_RGB, COLOR_GRAY, COLOR_CMYK, 16 bits a
    // value) to the target's (COLOR_RGB).
    bool Convert(COLOR* colours, DWORD count, COLORTYPE inputType, COLOR* converted) const;

private:
    using OpenProfile = HPROFILE(WINAPI*)(PPROFILE, DWORD, DWORD, DWORD);
    using CloseProfile = BOOL(WINAPI*)(HPROFILE);
    using CreateTransform = HTRANSFORM(WINAPI*)(PHPROFILE, DWORD, PDWORD, DWORD, DWORD, DWORD);
    using DeleteTransform = BOOL(WINAPI*)(HTRANSFORM);
    using Translate = BOOL(WINAPI*)(HTRANSFORM, PCOLOR, DWORD, COLORTYPE, PCOLOR, COLORTYPE);
    using StandardProfile = BOOL(WINAPI*)(PCWSTR, DWORD, PWSTR, PDWORD);

    bool Load();
    bool Open(const std::uint8_t* bytes, std::size_t size);

    HMODULE library = nullptr;
    OpenProfile openProfile = nullptr;
    CloseProfile closeProfile = nullptr;
    CreateTransform createTransform = nullptr;
    DeleteTransform deleteTransform = nullptr;
    Translate translate = nullptr;
    StandardProfile standardProfile = nullptr;
    std::vector<std::uint8_t> targetBytes; // as the engine reads it
    HPROFILE embedded = nullptr;
    HPROFILE target = nullptr;
    HTRANSFORM transform = nullptr;
};

} // namespace Tesmo::Plugin::Imaging
