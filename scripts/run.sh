#!/usr/bin/env bash
# Sets up the machine, builds both DLLs and shows what a host sees through the shipped
# 32-bit plug-in, using the host tool.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

bash scripts/setup.sh
configure_and_build x64 x86
trap stop_wine EXIT
start_wine

say "display name through the 32-bit plug-in (emulated 32-bit Wine: about a minute)"
"$WINE32" build/x86/bin/plugin-host.exe name build/x86/bin/WicImagePlugin.dll </dev/null
# The bundled sample: a 48 x 32 GIF of three frames (see samples/README.md). Every frame
# goes through the plug-in's GetImageData and is written as a PNG.
out="$BUILD/sample-frames"
rm -rf "$out" && mkdir -p "$out"
say "decoding samples/sample.gif through the 32-bit plug-in (emulated: about a minute)"
"$WINE32" build/x86/bin/plugin-host.exe decode build/x86/bin/WicImagePlugin.dll samples/sample.gif all "$out/frame.png" </dev/null
say "the decoded frames are in build/sample-frames/: $(cd "$out" && echo *)"

say "supported extensions through the 32-bit plug-in"
"$WINE32" build/x86/bin/plugin-host.exe extensions build/x86/bin/WicImagePlugin.dll </dev/null
