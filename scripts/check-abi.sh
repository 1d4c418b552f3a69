#!/usr/bin/env bash
# Checks the shipped DLL's binary interface: a 32-bit PE file whose export table holds
# exactly the plug-in's functions under plain names, importing only system DLLs.
set -euo pipefail
dll="$1"
shift
expected_exports=("$@")
objdump=i686-w64-mingw32-objdump
fail() { echo "ABI check: $*" >&2; exit 1; }

headers=$("$objdump" -p "$dll")
grep -q '^architecture: i386' <<<"$("$objdump" -f "$dll")" || fail "$dll is not a 32-bit x86 file"
grep -qE '^Magic[[:space:]]+010b' <<<"$headers" || fail "$dll is not a PE32 image"

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[ \t]*\[/{print $NF; next} on{exit}' <<<"$headers" | sort)
wanted=$(printf '%s\n' "${expected_exports[@]}" | sort)
[ "$exports" = "$wanted" ] || fail "exports are [$(echo $exports)], expected [$(echo $wanted)]"

imports=$(awk '/DLL Name:/{print toupper($3)}' <<<"$headers" | sort -u)
for dll_name in $imports; do
    case "$dll_name" in
        KERNEL32.DLL|ADVAPI32.DLL|MSVCRT.DLL|OLE32.DLL|OLEAUT32.DLL|WINDOWSCODECS.DLL|USER32.DLL) ;;
        *) fail "imports non-system DLL $dll_name" ;;
    esac
done
echo "ABI check passed: $(basename "$dll") exports $(echo $exports), imports $(echo $imports)"
