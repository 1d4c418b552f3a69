#!/usr/bin/env bash
# Checks a built plug-in's binary interface against what docs/hosts.md promises hosts: the
# machine type of its build, an export table of exactly the three functions under their
# plain names, and imports from exactly KERNEL32, ADVAPI32, OLE32 and MSVCRT. Windows'
# colour engine (mscms.dll) is not among them: the plug-in loads it from the system
# folder only when a frame's colour profile needs it.
# Usage: check-abi.sh x86|x64 PLUGIN.dll
set -euo pipefail
arch="$1"
dll="$2"
case "$arch" in
    x86) objdump=i686-w64-mingw32-objdump; machine='i386'; magic='010b' ;;
    x64) objdump=x86_64-w64-mingw32-objdump; machine='i386:x86-64'; magic='020b' ;;
    *) echo "usage: check-abi.sh x86|x64 PLUGIN.dll" >&2; exit 2 ;;
esac
expected_exports="GetDisplayName GetImageData GetSupportedExtensions"
expected_imports="ADVAPI32.DLL KERNEL32.DLL MSVCRT.DLL OLE32.DLL"
fail() { echo "ABI check ($arch): $*" >&2; exit 1; }

headers=$("$objdump" -p "$dll")
grep -q "^architecture: $machine," <<<"$("$objdump" -f "$dll")" || fail "$dll is not a $machine file"
grep -qE "^Magic[[:space:]]+$magic" <<<"$headers" || fail "$dll has the wrong PE optional-header magic"

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{exit}' <<<"$headers" | sort | xargs)
[ "$exports" = "$expected_exports" ] || fail "exports are [$exports], expected [$expected_exports]"

imports=$(awk '/DLL Name:/{print toupper($3)}' <<<"$headers" | sort -u | xargs)
[ "$imports" = "$expected_imports" ] || fail "imports are [$imports], expected exactly [$expected_imports]"
echo "ABI check passed ($arch): exports $exports; imports $imports"
