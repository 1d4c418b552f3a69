#!/usr/bin/env bash
# Unpacks the release zip and checks what it holds: both DLLs with their version
# resource, the host tools, the example settings and the install text; then loads each
# DLL through its own host tool.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"

zip=$(ls "$BUILD"/package/WicImagePlugin-*.zip)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")
top=$(ls "$unpacked")
fail() { echo "package check: $*" >&2; exit 1; }

for file in WicImagePlugin.dll plugin-host.exe x64/WicImagePlugin.dll x64/plugin-host.exe \
            WicImagePlugin.example.ini INSTALL.txt; do
    [ -s "$unpacked/$top/$file" ] || fail "$file is missing"
done
i686-w64-mingw32-objdump -f "$unpacked/$top/WicImagePlugin.dll" | grep -q 'file format pei-i386' || fail "the top DLL is not 32-bit"
x86_64-w64-mingw32-objdump -f "$unpacked/$top/x64/WicImagePlugin.dll" | grep -q 'file format pei-x86-64' || fail "x64/ holds no 64-bit DLL"
for dll in WicImagePlugin.dll x64/WicImagePlugin.dll; do
    strings -el "$unpacked/$top/$dll" | grep -qx 'WIC Image Plug-in' || fail "$dll has no version resource"
done
for section in GUI Extensions Frames; do
    grep -q "^\[$section\]" "$unpacked/$top/WicImagePlugin.example.ini" || fail "the example settings lack [$section]"
done
for key in gif orientation; do
    grep -q "^;$key=raw" "$unpacked/$top/WicImagePlugin.example.ini" || fail "the example settings do not explain $key=raw"
done

start_wine
name64=$("$WINE64" "$unpacked/$top/x64/plugin-host.exe" name "$unpacked/$top/x64/WicImagePlugin.dll" </dev/null | tr -d '\r')
[ "$name64" = "WIC Supported images" ] || fail "the 64-bit DLL answered '$name64'"
say "64-bit DLL from the package loads and answers; now the 32-bit one (emulated, about a minute)"
name32=$("$WINE32" "$unpacked/$top/plugin-host.exe" name "$unpacked/$top/WicImagePlugin.dll" </dev/null | tr -d '\r')
[ "$name32" = "WIC Supported images" ] || fail "the 32-bit DLL answered '$name32'"
echo "package check passed: $(basename "$zip")"
