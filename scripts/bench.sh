#!/usr/bin/env bash
# Sets up the machine, builds, and runs the host tool's benchmark of the plug-in against
# bare WIC. With "x86", runs the decode part with the emulated 32-bit build.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare

if [ "${1:-x64}" = x86 ]; then
    # Under emulation only the ratios mean anything; and emulated 32-bit Wine hangs or
    # crashes with threads, so both contenders run on this thread, in its apartment.
    say "decode benchmark with the 32-bit build (emulated: about four minutes)"
    "$WINE32" build/x86/bin/plugin-host.exe bench build/x86/bin/WicImagePlugin.dll decode-one-thread </dev/null
else
    say "benchmark with the 64-bit build"
    "$WINE64" build/x64/bin/plugin-host.exe bench build/x64/bin/WicImagePlugin.dll </dev/null
fi
