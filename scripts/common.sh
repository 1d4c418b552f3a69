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
# The Wine that makes the prefix and keeps it up.
WINE_BOOT="$WINE64"

# For a script that runs only 32-bit programs: 32-bit Wine alone, in a 32-bit prefix of
# its own (64-bit Wine need not be installed for it).
use_32bit_wine() {
    export WINEPREFIX="$BUILD/wineprefix-32" WINEARCH=win32
    WINE_BOOT="$WINE32"
}

# Every script says how long it has been running, times each of its steps, and prints
# the steps' times at the end (print_steps), so anyone can see where a run's time goes.
SCRIPT_STARTED=$(date +%s)
elapsed() {
    local seconds=$(($(date +%s) - SCRIPT_STARTED))
    printf '%d:%02d' $((seconds / 60)) $((seconds % 60))
}
say() { printf '[%s %s] %s\n' "$(basename "$0")" "$(elapsed)" "$*"; }

step_log=()
current_step=""
current_started=0
# step NAME: ends the step before, if any, and begins this one.
step() {
    end_step
    current_step="$*"
    current_started=$(date +%s)
    say "$*"
}
end_step() {
    [ -n "$current_step" ] || return 0
    record_step $(($(date +%s) - current_started)) "$current_step"
    current_step=""
}
# record_step SECONDS NAME: a step timed elsewhere, such as one that ran in the background.
record_step() { step_log+=("$1|$2"); }
print_steps() {
    end_step
    say "time by step ($(nproc) cores):"
    local entry
    for entry in "${step_log[@]}"; do
        printf '  %5ss  %s\n' "${entry%%|*}" "${entry#*|}"
    done
    printf '  %5ss  %s\n' $(($(date +%s) - SCRIPT_STARTED)) "in all"
}

# Creates the build tree's Wine prefix once, with output kept away from callers' pipes
# (Wine's helper processes hold the first program's stdout open), and keeps Wine's server
# up until stop_wine: each test is a process of its own, and a server that came and went
# between them would start its helpers again and again, holding the test runner's pipes.
# The prefix is made without Wine's .NET and browser add-ons, which the plug-in never uses.
start_wine() {
    [ -z "${WINE_SERVER_UP:-}" ] || return 0 # brought up by the script that called this one
    mkdir -p "$WINEPREFIX"
    # A server left from an earlier run would not take the persistence setting.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1
    if [ ! -d "$WINEPREFIX/drive_c" ]; then
        say "creating the Wine prefix in ${WINEPREFIX#"$ROOT"/} (about 15 s the first time)"
        WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE_BOOT" wineboot --init </dev/null >/dev/null 2>&1
    fi
    "$WINE_BOOT" cmd /c exit </dev/null >/dev/null 2>&1
}

stop_wine() {
    wineserver -k >/dev/null 2>&1 || true
}

# configure_and_build PRESET [TARGET...]: configures and builds one preset, all of it or
# only the targets named.
configure_and_build() {
    local preset="$1"
    shift
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    step "building the $preset ${*:-plug-in, host tool, benchmark and tests}"
    cmake --preset "$preset" >/dev/null
    # The build's own status, kept aside: the filter's says nothing of it.
    local status_file="$BUILD/$preset-build.status"
    mkdir -p "$BUILD"
    { cmake --build --preset "$preset" -j "$(nproc)" "${targets[@]}" 2>&1; echo $? >"$status_file"; } |
        grep -E 'warning|error|Error|Linking' || true
    [ "$(cat "$status_file")" -eq 0 ] || { say "the $preset build failed"; exit 1; }
}

# background NAME COMMAND...: runs the command beside what the script does next, its
# output kept in build/NAME.log; finish NAME TEXT waits for it, prints that output,
# records its time as a step called TEXT and returns its status.
declare -A background_jobs
background() {
    local name="$1"
    shift
    mkdir -p "$BUILD"
    (
        started=$(date +%s)
        status=0
        "$@" </dev/null >"$BUILD/$name.log" 2>&1 || status=$?
        echo $(($(date +%s) - started)) >"$BUILD/$name.seconds"
        exit $status
    ) &
    background_jobs[$name]=$!
}
finish() {
    local status=0
    wait "${background_jobs[$1]}" || status=$?
    cat "$BUILD/$1.log"
    record_step "$(cat "$BUILD/$1.seconds")" "$2"
    return $status
}

install_runtime() { bash "$ROOT/scripts/setup.sh" runtime "$@" && start_wine; }

# What every entry script does first: install the cross compilers, then, beside the
# builds, Wine and the 32-bit emulator and the Wine prefix (wine_ready waits for them);
# Wine is shut down again when the script ends. "prepare x86" installs the 32-bit
# compiler and 32-bit Wine alone, for a script that builds and runs nothing else.
prepare() {
    step "setting up the machine: the cross compilers and the package lists"
    bash "$ROOT/scripts/setup.sh" first "$@"
    [ "${1:-}" != x86 ] || use_32bit_wine
    trap stop_wine EXIT
    say "installing Wine and the 32-bit emulator, and making the Wine prefix, beside the build"
    background runtime install_runtime "$@"
}

wine_ready() {
    step "waiting for Wine, the emulator and the Wine prefix"
    local status=0
    finish runtime "Wine, the emulator and the Wine prefix (beside the build)" || status=$?
    [ "$status" -eq 0 ] || { say "Wine or the emulator could not be set up (see above)"; exit 1; }
    export WINE_SERVER_UP=1
}
