#!/usr/bin/env bash
# Sets up the machine, builds the shipped 32-bit plug-in and the host tool, and shows
# what a host gets from the plug-in: its display name, its extensions, and every frame of
# the bundled sample decoded and written as PNG files, with a contact sheet of them all.
# Each step's time is printed at the end.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare
configure_and_build x86 plugin-host
wine_ready

# The bundled sample: a 48 x 32 GIF animation of five frames, a scene and four patches
# (see samples/README.md), decoded as composed frames and laid out on one contact sheet.
out="$BUILD/sample-frames"
rm -rf "$out" && mkdir -p "$out"
step "loading the 32-bit plug-in and decoding samples/sample.gif"
"$WINE32" build/x86/bin/plugin-host.exe show build/x86/bin/WicImagePlugin.dll samples/sample.gif "$out/frame.png" </dev/null
print_steps
say "the composed frames are in build/sample-frames/: $(cd "$out" && echo frame-[0-9]*.png)"
say "all of them on one contact sheet: build/sample-frames/frame-sheet.png"
