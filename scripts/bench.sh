#!/usr/bin/env bash
# Sets up the machine, builds, and runs the benchmark of the plug-in against bare WIC
# (plugin-bench.exe) with the 64-bit build, or with "x86" the same full run with the
# emulated 32-bit build. The plug-in of an earlier commit is built beside it, so that the
# catalogue's cost is set against the list as that build made it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

arch="${1:-x64}"
# The last plug-in whose extension list came from the registry walk alone, before WIC's
# component enumerator joined the catalogue.
earlier_commit=897b5cb
prepare
configure_and_build "$arch" plugin-bench

earlier_dll=""
if git cat-file -e "$earlier_commit^{commit}" 2>/dev/null; then
    earlier_source="$BUILD/earlier/source"
    earlier_build="$BUILD/earlier/$arch"
    if [ ! -f "$earlier_build/bin/WicImagePlugin.dll" ]; then
        say "building the plug-in of commit $earlier_commit for comparison"
        rm -rf "$earlier_source" && mkdir -p "$earlier_source"
        git archive "$earlier_commit" | tar -x -C "$earlier_source"
        cmake -S "$earlier_source" -B "$earlier_build" --toolchain "$earlier_source/cmake/mingw-$([ "$arch" = x86 ] && echo i686 || echo x86_64).cmake" \
            -DCMAKE_BUILD_TYPE=Release -DWIC_PLUGIN_TESTS=OFF >/dev/null
        cmake --build "$earlier_build" -j "$(nproc)" --target WicImagePlugin >/dev/null
    fi
    earlier_dll="build/earlier/$arch/bin/WicImagePlugin.dll"
else
    say "commit $earlier_commit is not in this checkout: no earlier build to compare the catalogue with"
fi
wine_ready

# The HDR benchmark's 12-megapixel half-float JPEG XR: the benchmark writes its source as
# a half-float TIFF, and Debian's JPEG XR encoder (Wine has none) makes the JPEG XR.
hdr_source="$BUILD/bench-hdr.tif"
hdr_jpeg_xr="$BUILD/bench-hdr.jxr"
if [ ! -f "$hdr_jpeg_xr" ]; then
    say "writing the HDR benchmark's JPEG XR"
    "$([ "$arch" = x86 ] && echo "$WINE32" || echo "$WINE64")" "build/$arch/bin/plugin-bench.exe" hdr-source \
        "$(winepath -w "$hdr_source")" 12 </dev/null
    JxrEncApp -i "$hdr_source" -o "$hdr_jpeg_xr" -c 25 -a 3 >/dev/null
    rm -f "$hdr_source"
fi
export PLUGIN_BENCH_HDR
PLUGIN_BENCH_HDR="$(winepath -w "$hdr_jpeg_xr")"

if [ "$arch" = x86 ]; then
    say "benchmark with the 32-bit build (emulated: several minutes)"
    say "note: under emulation only the ratios mean anything, not the times or rates"
    "$WINE32" build/x86/bin/plugin-bench.exe build/x86/bin/WicImagePlugin.dll all 12 $earlier_dll </dev/null
else
    say "benchmark with the 64-bit build"
    "$WINE64" build/x64/bin/plugin-bench.exe build/x64/bin/WicImagePlugin.dll all 12 $earlier_dll </dev/null
fi
