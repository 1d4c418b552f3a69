#!/usr/bin/env bash
# Sets up the machine, builds both DLLs and shows what a host gets from the shipped
# 32-bit plug-in through the host tool: its display name, its extensions, and every frame
# of the bundled sample decoded and written as PNG files.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare

# The bundled sample: a 48 x 32 GIF of three frames (see samples/README.md).
out="$BUILD/sample-frames"
rm -rf "$out" && mkdir -p "$out"
say "loading the 32-bit plug-in and decoding samples/sample.gif (emulated 32-bit Wine: about a minute)"
"$WINE32" build/x86/bin/plugin-host.exe show build/x86/bin/WicImagePlugin.dll samples/sample.gif "$out/frame.png" </dev/null
say "the decoded frames are in build/sample-frames/: $(cd "$out" && echo *)"
