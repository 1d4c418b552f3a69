# Shared by the project's scripts: where things are and how Wine is started.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine stores file names in the Unix locale's character set: under plain "C" a file name
# with U+00E9 cannot exist, and the non-ASCII path test would have to skip.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
    "" | C | POSIX) export LC_ALL=C.UTF-8 ;;
esac
WINE64=/usr/lib/wine/wine64
WINE32=wine

say() { printf '[%s] %s\n' "$(basename "$0")" "$*"; }

# Creates the build tree's Wine prefix once, with output kept away from callers' pipes:
# Wine's helper processes hold the first program's stdout open.
start_wine() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "creating the Wine prefix in build/wineprefix (about 2 minutes the first time)"
    fi
    "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine() {
    wineserver -k >/dev/null 2>&1 || true
}

configure_and_build() {
    local preset
    for preset in "$@"; do
        say "building the $preset plug-in"
        cmake --preset "$preset" >/dev/null
        cmake --build --preset "$preset" -j "$(nproc)" | grep -E 'warning|error|Linking' || true
        [ "${PIPESTATUS[0]}" -eq 0 ] || { say "the $preset build failed"; exit 1; }
    done
}

# What every entry script does first: install what is missing, build both DLLs, and
# bring up the Wine prefix, which is shut down again when the script ends.
prepare() {
    bash "$ROOT/scripts/setup.sh"
    configure_and_build x64 x86
    trap stop_wine EXIT
    start_wine
}
