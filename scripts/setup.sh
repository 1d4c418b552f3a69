#!/usr/bin/env bash
# Installs what building and testing the plug-in needs on a Debian 12 machine, as root,
# in two phases that the entry scripts run one after the other, the second beside the
# first build:
#   setup.sh compilers   the mingw-w64 cross compilers (POSIX threads), and the package
#                        lists both phases need
#   setup.sh first       the same, when the runtime phase follows: its packages are
#                        downloaded meanwhile
#   setup.sh runtime     64- and 32-bit Wine, a current qemu user-mode emulator, and the
#                        registration that lets this kernel run 32-bit Wine through it
#   setup.sh             all of it
#   setup.sh fuzz        only clang-16 with its sanitizers' and libFuzzer's runtime, which
#                        the native fuzz targets (tests/fuzz/) are built with; test.sh
#                        has it run beside the suites, once the other phases are done
# After the phase, "x86" limits the compilers to the 32-bit one and Wine to its 32-bit
# half, for a script that builds and runs nothing else. Safe to run again; it only does
# what is missing.
set -euo pipefail

phase="${1:-all}"
case "$phase" in
    compilers | first | runtime | all | fuzz) ;;
    *) echo "usage: setup.sh [compilers|first|runtime|all|fuzz] [x86]" >&2; exit 2 ;;
esac
builds="${2:-both}"
say() { printf '[setup %s] %s\n' "$phase" "$*"; }

# Debian 12's own qemu (7.2) takes about a minute to start each 32-bit Wine process and
# kills processes whose threads decode at once; the one in the same archive's backports
# suite starts in seconds and runs them. Only the emulator comes from there: the pin
# below keeps every other package on Debian 12's own suites. From qemu 10 on, qemu-user
# holds the static emulators (qemu-user-static is an empty package that pulls it in).
# Of its thirty-odd emulators only qemu-i386 is wanted, a static program that needs no
# other file: it is taken alone from the package, which spares unpacking the others
# (370 MB), unless an installed qemu-user of version 8 or later has it already.
backports_list=/etc/apt/sources.list.d/wic-plugin-backports.list
backports_pin=/etc/apt/preferences.d/wic-plugin-backports
pinned_packages=(qemu-user qemu-user-static qemu-user-binfmt)
emulator_package=qemu-user
system_emulator=/usr/bin/qemu-i386
own_emulator=/usr/local/libexec/wic-image-plugin/qemu-i386

# Only the POSIX-thread compilers: the win32-thread ones lack std::thread and std::mutex,
# and would double what is downloaded and unpacked.
compiler_packages=(g++-mingw-w64-i686-posix cmake)
[ "$builds" = x86 ] || compiler_packages+=(g++-mingw-w64-x86-64-posix)
# 32-bit Wine runs on its own in a 32-bit prefix; 64-bit Wine (a third of the download)
# only for a script that runs 64-bit programs too.
# Debian's JPEG XR tools (JxrEncApp) make the HDR sample's and the HDR benchmark's JPEG
# XR files: Wine has no JPEG XR encoder.
runtime_packages=(wine wine32:i386 libjxr-tools)
[ "$builds" = x86 ] || runtime_packages+=(wine64)

# The runtime's packages are downloaded here, beside the compilers' install, and installed
# from here by the runtime phase, which first waits for the download to end.
fetched=/var/cache/wic-image-plugin/packages
fetch_lock=/var/cache/wic-image-plugin/download.lock

missing() {
    local package
    for package in "$@"; do
        dpkg -s "$package" >/dev/null 2>&1 || echo "$package"
    done
}

# Whether the emulator file is there and of version 8 or later.
current_emulator() {
    local major
    major=$("$1" --version 2>/dev/null | sed -nE '1s/.* version ([0-9]+).*/\1/p' || true)
    [ "${major:-0}" -ge 8 ]
}

missing_compilers=($(missing "${compiler_packages[@]}"))
[ -d /usr/src/googletest ] || missing_compilers+=(googletest)
missing_runtime=($(missing "${runtime_packages[@]}"))
interpreter=$own_emulator
missing_emulator=false
if current_emulator "$system_emulator"; then
    interpreter=$system_emulator
elif ! current_emulator "$own_emulator"; then
    missing_emulator=true
fi

enable_backports() {
    [ -f "$backports_list" ] && grep -q qemu-user "$backports_pin" 2>/dev/null && return 1
    local archive
    archive=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$archive" ] || archive=$(awk '/^deb / {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
    [ -n "$archive" ] || { say "no Debian archive found in the machine's source lists"; exit 1; }
    say "enabling bookworm-backports for the qemu emulator only"
    echo "deb $archive bookworm-backports main" >"$backports_list"
    cat >"$backports_pin" <<PIN
Package: ${pinned_packages[*]}
Pin: release n=bookworm-backports
Pin-Priority: 990

Package: *
Pin: release n=bookworm-backports
Pin-Priority: -1
PIN
}

# The compilers' phase reads the package lists for both phases, so that the runtime's
# install, beside the first build, needs no second reading.
export DEBIAN_FRONTEND=noninteractive
if [ "$phase" != runtime ] && [ "$phase" != fuzz ]; then
    sources_changed=false
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        sources_changed=true
    fi
    enable_backports && sources_changed=true
    if [ ${#missing_compilers[@]} -gt 0 ] || [ ${#missing_runtime[@]} -gt 0 ] || $missing_emulator ||
        $sources_changed; then
        say "reading the package lists"
        apt-get update -qq
    fi
fi

# Unpacking without a sync after every file: a build machine's packages, reinstalled in
# full if it ever went down halfway through. Manual pages and documentation (but for the
# copyright files) are left out. install ARCHIVES PACKAGE...: ARCHIVES is where apt keeps
# the downloaded packages.
install() {
    local archives="$1"
    shift
    [ $# -gt 0 ] || return 0
    say "installing $*"
    apt-get install -y -qq --no-install-recommends -o Dir::Cache::Archives="$archives/" \
        -o Dpkg::Options::=--force-unsafe-io -o Dpkg::Options::=--path-exclude=/usr/share/man/* \
        -o Dpkg::Options::=--path-exclude=/usr/share/doc/* \
        -o Dpkg::Options::=--path-include=/usr/share/doc/*/copyright "$@" >/dev/null
}

# apt-get's own download waits for dpkg's lock, which the compilers' install holds;
# apt-get download takes no lock. It gets exactly the packages and versions that
# installing would fetch.
download_runtime() {
    local wanted
    wanted=$(apt-get install -s -qq --no-install-recommends "$@" |
        awk '/^Inst / { for (i = 3; i <= NF; ++i) if ($i ~ /^\(/) { print $2 "=" substr($i, 2); break } }')
    ! $missing_emulator || wanted+=" $emulator_package"
    [ -z "$wanted" ] || (cd "$fetched" && apt-get download -qq $wanted)
}

# Takes qemu-i386 out of the downloaded package, fetching the package first if the
# download beside the compilers' install did not. tar stops at that file: dpkg-deb,
# cut off, then fails, and only tar's status counts.
extract_emulator() {
    local packages=("$fetched/${emulator_package}"_*.deb)
    if [ ! -e "${packages[0]}" ]; then
        (cd "$fetched" && apt-get download -qq "$emulator_package")
        packages=("$fetched/${emulator_package}"_*.deb)
    fi
    say "taking qemu-i386 from $(basename "${packages[0]}")"
    mkdir -p "$(dirname "$own_emulator")"
    { dpkg-deb --fsys-tarfile "${packages[0]}" 2>/dev/null || true; } |
        tar -xO --occurrence=1 ./usr/bin/qemu-i386 >"$own_emulator.new"
    chmod 755 "$own_emulator.new"
    mv "$own_emulator.new" "$own_emulator"
    current_emulator "$own_emulator" || { say "the emulator taken from ${packages[0]} does not run"; exit 1; }
}

# The fuzz targets' compiler alone, the package lists read only when they do not know it.
if [ "$phase" = fuzz ]; then
    fuzz_packages=($(missing clang-16 libclang-rt-16-dev))
    [ ${#fuzz_packages[@]} -eq 0 ] || apt-cache show clang-16 >/dev/null 2>&1 || apt-get update -qq
    # Lists older than the archive name versions it no longer holds: read them anew then.
    install /var/cache/apt/archives "${fuzz_packages[@]}" ||
        { apt-get update -qq && install /var/cache/apt/archives "${fuzz_packages[@]}"; }
    exit 0
fi

mkdir -p "$fetched/partial"
chown -R _apt:root "$fetched" 2>/dev/null || true
if [ "$phase" = first ] && { [ ${#missing_runtime[@]} -gt 0 ] || $missing_emulator; }; then
    # The download holds the lock file till it ends; the runtime phase waits for it.
    say "downloading the runtime's packages beside the compilers' install"
    exec 9>"$fetch_lock"
    flock 9
    download_runtime "${missing_runtime[@]}" </dev/null >"$fetched/../download.log" 2>&1 &
    exec 9>&-
fi
if [ "$phase" != runtime ]; then
    install /var/cache/apt/archives "${missing_compilers[@]}"
fi
[ "$phase" != compilers ] && [ "$phase" != first ] || exit 0

flock "$fetch_lock" true
install "$fetched" "${missing_runtime[@]}"
! $missing_emulator || extract_emulator
rm -f "$fetched"/*.deb
if $missing_emulator; then
    say "emulator: $("$interpreter" --version | head -n 1)"
fi

# The kernel refuses 32-bit ELF files; hand them to qemu's user-mode emulator. The "F"
# flag makes the kernel open the interpreter once, at registration, so after the
# emulator changes the registration must be made again or the old binary keeps running.
# The stamp records which interpreter file the current registration was made with.
if ! mountpoint -q /proc/sys/fs/binfmt_misc; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
entry=/proc/sys/fs/binfmt_misc/qemu-i386
stamp_dir=/var/lib/wic-image-plugin
stamp="$stamp_dir/qemu-i386.registered"
identity="$interpreter $(stat -c '%i %Y %s' "$interpreter") $("$interpreter" --version | head -n 1)"
if [ -e "$entry" ] && [ "$(cat "$stamp" 2>/dev/null)" != "$identity" ]; then
    say "renewing the qemu-i386 registration: the emulator changed"
    echo -1 >"$entry"
fi
if [ ! -e "$entry" ]; then
    say "registering $interpreter for 32-bit executables"
    echo ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$interpreter:F" \
        >/proc/sys/fs/binfmt_misc/register
    mkdir -p "$stamp_dir"
    echo "$identity" >"$stamp"
fi
