#!/usr/bin/env bash
# Sets up the machine, builds both DLLs and runs every test: the 64-bit suite under
# 64-bit Wine (one process per test), the ABI check of the shipped 32-bit DLL, and the
# whole 32-bit suite as one process under emulated 32-bit Wine, and a check of the
# release zip.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

prepare

bash scripts/check-abi.sh build/x86/bin/WicImagePlugin.dll GetDisplayName GetSupportedExtensions GetImageData

say "packing the release zip and checking what it holds"
bash scripts/package.sh >/dev/null
bash scripts/check-package.sh

say "running the 64-bit suite"
ctest --preset x64 -j 2
say "running the 32-bit suite (emulated: several minutes)"
ctest --preset x86
