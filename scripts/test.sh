#!/usr/bin/env bash
# Sets up the machine, builds both plug-ins with their tests, and runs every check: the
# binary interface of both DLLs, the samples, the release zip, and the whole test suite of
# each build, the 64-bit one under 64-bit Wine and the shipped 32-bit one under emulated
# 32-bit Wine. A suite passes only when GoogleTest reports every test passed
# (scripts/wine-run judges each process). Each step's time is printed at the end.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

step "checking the documents' links"
bash scripts/check-links.sh

prepare
configure_and_build x64 PluginTests plugin-host sample-maker
bash scripts/check-abi.sh x64 build/x64/bin/WicImagePlugin.dll
# The x86 build starts at once, beside the end of Wine's install and the making of the
# prefix (one core's work), then the x64 suite. (Both suites at once, after both builds,
# measured slower: they wait on the one Wine server together.) Its output follows when
# the x86 suite is about to start.
say "building the x86 PluginTests and plugin-host beside what follows"
background x86-build configure_and_build x86 PluginTests plugin-host
wine_ready
# The native fuzz targets' compiler (clang-16) is installed, once Wine's install is done
# with the package manager, and the targets are built, run over every corpus file once
# and fuzzed for 20 s in all, beside the suites: a core's work for under a minute, much
# of it while the 64-bit suite waits on Wine's server, off the way to the suites.
background fuzz bash scripts/fuzz.sh --check 20

# The committed samples must be exactly what their maker writes, so that neither can
# change without the other.
step "checking samples/ against what tools/sample-maker writes"
made=build/samples-made
rm -rf "$made" && mkdir -p "$made"
"$WINE64" build/x64/bin/sample-maker.exe "$made" </dev/null ||
    { say "FAILED: tools/sample-maker could not write into $made"; exit 1; }
for sample in sample.gif orientation.tif colour.tif transparency.png hdr.tif sticker.png; do
    if ! cmp -s "samples/$sample" "$made/$sample"; then
        say "FAILED: samples/$sample differs from what tools/sample-maker writes ($made/$sample);" \
            "run the maker into samples/ and commit both"
        exit 1
    fi
done
# The HDR sample's JPEG XR is Debian's JxrEncApp's encoding of the maker's float TIFF.
JxrEncApp -i "$made/hdr.tif" -o "$made/hdr.jxr" -c 25 -a 3 >/dev/null
if ! cmp -s samples/hdr.jxr "$made/hdr.jxr"; then
    say "FAILED: samples/hdr.jxr differs from what JxrEncApp makes of samples/hdr.tif ($made/hdr.jxr);" \
        "make it again (samples/README.md) and commit it"
    exit 1
fi

# Much of the 64-bit suite's time is spent waiting on Wine's server, so it runs while the
# 32-bit build compiles, and the 32-bit suite starts as soon as that build is done, beside
# whatever of the 64-bit suite is left and the release zip's check. The reports of the
# suites follow the x86 suite's.
say "running the x64 suite while the x86 build compiles"
background x64-suite ctest --preset x64 -j "$(nproc)"
step "waiting for the x86 build"
finish x86-build "building the x86 PluginTests plugin-host (beside Wine's install, the prefix and the x64 suite)" ||
    { say "the x86 build failed (see above)"; exit 1; }
bash scripts/check-abi.sh x86 build/x86/bin/WicImagePlugin.dll
pack_and_check() { bash scripts/package.sh >/dev/null && bash scripts/check-package.sh; }
background package-check pack_and_check

step "running the x86 suite"
failed=()
ctest --preset x86 -j "$(nproc)" || failed+=("the x86 suite")

step "waiting for the x64 suite, the release zip's check and the fuzz targets"
say "the x64 suite:"
finish x64-suite "the x64 suite (beside the x86 build and suite)" || failed+=("the x64 suite")
say "the release zip:"
finish package-check "packing the release zip and checking what it holds (beside the x86 suite)" ||
    failed+=("the release zip's check")
say "the fuzz targets:"
finish fuzz "clang-16, the fuzz targets, their corpus once and 20 s of fuzzing (beside the suites)" ||
    failed+=("the fuzz targets")

print_steps
if [ ${#failed[@]} -gt 0 ]; then
    for failure in "${failed[@]}"; do
        say "FAILED: $failure did not pass"
    done
    exit 1
fi
say "both suites passed"
