#!/usr/bin/env bash
# Builds both DLLs and packs the release zip: the 32-bit DLL and host tool at the top,
# the 64-bit ones in x64/, an example settings file and the install text.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

bash scripts/setup.sh compilers
configure_and_build x64 plugin-host
configure_and_build x86 plugin-host

version=$(sed -n 's/^project(WicImagePlugin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="WicImagePlugin-$version"
stage="$BUILD/package/$name"
rm -rf "$BUILD/package"
mkdir -p "$stage/x64"
cp build/x86/bin/WicImagePlugin.dll build/x86/bin/plugin-host.exe "$stage/"
cp build/x64/bin/WicImagePlugin.dll build/x64/bin/plugin-host.exe "$stage/x64/"
cp packaging/WicImagePlugin.example.ini "$stage/"
sed "s/@VERSION@/$version/" packaging/INSTALL.txt > "$stage/INSTALL.txt"
(cd "$BUILD/package" && cmake -E tar cf "$name.zip" --format=zip "$name")
say "package: build/package/$name.zip"
