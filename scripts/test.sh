#!/usr/bin/env bash
# Sets up the machine, builds both plug-ins with their tests, and runs every check: the
# binary interface of both DLLs, the samples, the release zip, and the whole test suite of
# each build, the 64-bit one under 64-bit Wine and the shipped 32-bit one under emulated
# 32-bit Wine. A suite passes only when GoogleTest reports every test passed
# (scripts/wine-run judges each process). Each step's time is printed at the end.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare
configure_and_build x64 PluginTests plugin-host sample-maker
wine_ready
bash scripts/check-abi.sh x64 build/x64/bin/WicImagePlugin.dll

# The committed samples must be exactly what their maker writes, so that neither can
# change without the other.
step "checking samples/ against what tools/sample-maker writes"
made=build/samples-made
rm -rf "$made" && mkdir -p "$made"
"$WINE64" build/x64/bin/sample-maker.exe "$made" </dev/null ||
    { say "FAILED: tools/sample-maker could not write into $made"; exit 1; }
for sample in sample.gif orientation.tif; do
    if ! cmp -s "samples/$sample" "$made/$sample"; then
        say "FAILED: samples/$sample differs from what tools/sample-maker writes ($made/$sample);" \
            "run the maker into samples/ and commit both"
        exit 1
    fi
done
end_step

# Much of the 64-bit suite's time is spent waiting on Wine's server, so it runs while the
# 32-bit build compiles, and the 32-bit suite starts as soon as that build is done, beside
# whatever of the 64-bit suite is left; the 64-bit report follows once it is done.
say "running the x64 suite while the x86 build compiles"
x64_report="$BUILD/x64-suite.log"
x64_seconds="$BUILD/x64-suite.seconds"
(
    started=$(date +%s)
    status=0
    ctest --preset x64 -j "$(nproc)" >"$x64_report" 2>&1 || status=$?
    echo $(($(date +%s) - started)) >"$x64_seconds"
    exit $status
) &
x64_suite=$!
configure_and_build x86 PluginTests plugin-host
bash scripts/check-abi.sh x86 build/x86/bin/WicImagePlugin.dll

# The release zip is packed and checked beside the x86 suite too.
package_report="$BUILD/package-check.log"
package_seconds="$BUILD/package-check.seconds"
(
    started=$(date +%s)
    status=0
    { bash scripts/package.sh >/dev/null && bash scripts/check-package.sh; } >"$package_report" 2>&1 || status=$?
    echo $(($(date +%s) - started)) >"$package_seconds"
    exit $status
) &
package_check=$!

step "running the x86 suite"
failed=()
ctest --preset x86 -j "$(nproc)" || failed+=("the x86 suite")

step "waiting for the x64 suite and the release zip's check"
wait "$x64_suite" || failed+=("the x64 suite")
wait "$package_check" || failed+=("the release zip's check")
end_step
record_step "$(cat "$x64_seconds")" "the x64 suite (beside the x86 build and suite)"
record_step "$(cat "$package_seconds")" "packing the release zip and checking what it holds (beside the x86 suite)"
say "the x64 suite:"
cat "$x64_report"
say "the release zip:"
cat "$package_report"

print_steps
if [ ${#failed[@]} -gt 0 ]; then
    for failure in "${failed[@]}"; do
        say "FAILED: $failure did not pass"
    done
    exit 1
fi
say "both suites passed"
