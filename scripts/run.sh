#!/usr/bin/env bash
# Sets up the machine, builds the shipped 32-bit plug-in and the host tool, and shows
# what a host gets from the plug-in: its display name, its extensions, every frame of the
# bundled animation decoded and written as PNG files with a contact sheet of them all,
# and the bundled photo's eight pages, upright, on a contact sheet.
# Each step's time is printed at the end.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare x86
configure_and_build x86 plugin-host
wine_ready

# The bundled samples (see samples/README.md): a 48 x 32 GIF animation of five frames, a
# scene and four patches, decoded as composed frames; and a TIFF photo of eight pages, the
# scene stored in the eight ways a camera can hold it, decoded upright. Each is laid out
# on a contact sheet of its own.
out="$BUILD/sample-frames"
rm -rf "$out" && mkdir -p "$out"
step "loading the 32-bit plug-in and decoding samples/sample.gif and samples/orientation.tif"
"$WINE32" build/x86/bin/plugin-host.exe show build/x86/bin/WicImagePlugin.dll samples/sample.gif "$out/frame.png" </dev/null
"$WINE32" build/x86/bin/plugin-host.exe sheet build/x86/bin/WicImagePlugin.dll samples/orientation.tif \
    "$out/orientation-sheet.png" </dev/null
print_steps
say "the composed frames are in build/sample-frames/: $(cd "$out" && echo frame-[0-9]*.png)"
say "all of them on one contact sheet: build/sample-frames/frame-sheet.png"
say "the photo's eight pages, upright, on one contact sheet: build/sample-frames/orientation-sheet.png"
