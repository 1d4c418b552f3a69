#!/usr/bin/env bash
# Sets up the machine, builds the shipped 32-bit plug-in and the host tool, and shows
# what a host gets from the plug-in: its display name, its extensions, every frame of the
# bundled animation decoded and written as PNG files with a contact sheet of them all,
# the bundled photo's eight pages, upright, on a contact sheet, and likewise the colour
# sample's two pages, the transparency sample over two backgrounds, the HDR sample tone
# mapped and clipped, and the animated PNG sticker's frames.
# Each step's time is printed at the end.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare x86
configure_and_build x86 plugin-host
wine_ready

# The bundled samples (see samples/README.md): a 48 x 32 GIF animation of five frames, a
# scene and four patches, decoded as composed frames; a TIFF photo of eight pages, the
# scene stored in the eight ways a camera can hold it, decoded upright; a TIFF of two
# pages, the scene as sRGB and as ProPhoto RGB with its profile, decoded alike; and a PNG
# whose transparent sky hides stripes, laid over white and over a night blue; a
# half-float JPEG XR of the scene as an HDR screenshot, tone mapped and with hdr=clip; and
# an animated PNG sticker, a ball flying over the scene's clear sky, composed frame by frame.
# Each is laid out on a contact sheet of its own.
out="$BUILD/sample-frames"
rm -rf "$out" && mkdir -p "$out"
# The background comes from the settings file beside the DLL, so the second decode goes
# through a copy of the DLL in a folder of its own with its own settings file.
night="$out/night-background"
mkdir -p "$night"
cp build/x86/bin/WicImagePlugin.dll "$night/"
printf '[Frames]\r\nbackground=1E2A5A\r\n' >"$night/WicImagePlugin.ini"
clip="$out/hdr-clip"
mkdir -p "$clip"
cp build/x86/bin/WicImagePlugin.dll "$clip/"
printf '[Frames]\r\nhdr=clip\r\n' >"$clip/WicImagePlugin.ini"
step "loading the 32-bit plug-in and decoding the six samples"
"$WINE32" build/x86/bin/plugin-host.exe show build/x86/bin/WicImagePlugin.dll samples/sample.gif "$out/frame.png" </dev/null
"$WINE32" build/x86/bin/plugin-host.exe sheet build/x86/bin/WicImagePlugin.dll samples/orientation.tif \
    "$out/orientation-sheet.png" </dev/null
"$WINE32" build/x86/bin/plugin-host.exe sheet build/x86/bin/WicImagePlugin.dll samples/colour.tif \
    "$out/colour-sheet.png" </dev/null
"$WINE32" build/x86/bin/plugin-host.exe sheet build/x86/bin/WicImagePlugin.dll samples/transparency.png \
    "$night/WicImagePlugin.dll" samples/transparency.png "$out/transparency-sheet.png" </dev/null
"$WINE32" build/x86/bin/plugin-host.exe sheet build/x86/bin/WicImagePlugin.dll samples/hdr.jxr \
    "$clip/WicImagePlugin.dll" samples/hdr.jxr "$out/hdr-sheet.png" </dev/null
"$WINE32" build/x86/bin/plugin-host.exe sheet build/x86/bin/WicImagePlugin.dll samples/sticker.png \
    "$out/sticker-sheet.png" </dev/null
print_steps
say "the composed frames are in build/sample-frames/: $(cd "$out" && echo frame-[0-9]*.png)"
say "all of them on one contact sheet: build/sample-frames/frame-sheet.png"
say "the photo's eight pages, upright, on one contact sheet: build/sample-frames/orientation-sheet.png"
say "the colour sample's sRGB and ProPhoto pages, alike, on one contact sheet: build/sample-frames/colour-sheet.png"
say "the transparent sky over white and over night blue, on one contact sheet: build/sample-frames/transparency-sheet.png"
say "the HDR screenshot tone mapped and clipped, on one contact sheet: build/sample-frames/hdr-sheet.png"
say "the animated PNG sticker's five frames, composed, on one contact sheet: build/sample-frames/sticker-sheet.png"
