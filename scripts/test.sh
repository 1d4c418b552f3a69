#!/usr/bin/env bash
# Sets up the machine, builds both plug-ins with their tests, and runs every check: the
# binary interface of both DLLs, the release zip, and the whole test suite of each build,
# the 64-bit one under 64-bit Wine and the shipped 32-bit one under emulated 32-bit Wine,
# one process per test. A suite passes only when GoogleTest reports every test passed
# (scripts/wine-run judges each process).
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare
configure_and_build x64
configure_and_build x86
wine_ready

bash scripts/check-abi.sh x64 build/x64/bin/WicImagePlugin.dll
bash scripts/check-abi.sh x86 build/x86/bin/WicImagePlugin.dll

say "packing the release zip and checking what it holds"
bash scripts/package.sh >/dev/null
bash scripts/check-package.sh

failed=()
for preset in x64 x86; do
    say "running the $preset suite"
    ctest --preset "$preset" -j "$(nproc)" || failed+=("$preset")
done
if [ ${#failed[@]} -gt 0 ]; then
    say "FAILED: the ${failed[*]} suite did not pass"
    exit 1
fi
say "both suites passed"
