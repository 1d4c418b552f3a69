#!/usr/bin/env bash
# Sets up the machine, builds, and runs the benchmark of the plug-in against bare WIC
# (plugin-bench.exe) with the 64-bit build, or with "x86" the same full run with the
# emulated 32-bit build.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

arch="${1:-x64}"
prepare
configure_and_build "$arch" plugin-bench
wine_ready

if [ "$arch" = x86 ]; then
    say "benchmark with the 32-bit build (emulated: several minutes)"
    say "note: under emulation only the ratios mean anything, not the times or rates"
    "$WINE32" build/x86/bin/plugin-bench.exe build/x86/bin/WicImagePlugin.dll </dev/null
else
    say "benchmark with the 64-bit build"
    "$WINE64" build/x64/bin/plugin-bench.exe build/x64/bin/WicImagePlugin.dll </dev/null
fi
