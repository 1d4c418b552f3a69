#!/usr/bin/env bash
# Installs what building and testing the plug-in needs on a Debian 12 machine, as root:
# the mingw-w64 cross compilers, 64- and 32-bit Wine, a current qemu user-mode emulator,
# and the registration that lets this kernel run 32-bit Wine through it. Safe to run
# again; it only does what is missing.
set -euo pipefail

say() { printf '[setup] %s\n' "$*"; }

# Debian 12's own qemu (7.2) takes about a minute to start each 32-bit Wine process and
# kills processes whose threads decode at once; the one in the same archive's backports
# suite starts in seconds and runs them. Only the emulator comes from there: the pin
# below keeps every other package on Debian 12's own suites.
backports_list=/etc/apt/sources.list.d/wic-plugin-backports.list
backports_pin=/etc/apt/preferences.d/wic-plugin-backports
emulator_packages=(qemu-user-static qemu-user qemu-user-binfmt)

enable_backports() {
    [ -f "$backports_list" ] && [ -f "$backports_pin" ] && return 1
    local archive
    archive=$(awk '/^URIs:/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [ -n "$archive" ] || archive=$(awk '/^deb / {print $2; exit}' /etc/apt/sources.list 2>/dev/null || true)
    [ -n "$archive" ] || { say "no Debian archive found in the machine's source lists"; exit 1; }
    say "enabling bookworm-backports for the qemu emulator only"
    echo "deb $archive bookworm-backports main" >"$backports_list"
    cat >"$backports_pin" <<EOF
Package: ${emulator_packages[*]}
Pin: release n=bookworm-backports
Pin-Priority: 990

Package: *
Pin: release n=bookworm-backports
Pin-Priority: -1
EOF
}

emulator_major() {
    dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null | sed -E 's/^([0-9]+:)?([0-9]+).*/\2/'
}

need_packages=()
for p in g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 cmake; do
    dpkg -s "$p" >/dev/null 2>&1 || need_packages+=("$p")
done
[ -d /usr/src/googletest ] || need_packages+=(googletest)
major=$(emulator_major || true)
[ "${major:-0}" -ge 8 ] || need_packages+=("${emulator_packages[@]}")

sources_changed=false
enable_backports && sources_changed=true

if [ ${#need_packages[@]} -gt 0 ] || $sources_changed; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    say "reading the package lists"
    apt-get update -qq
fi
if [ ${#need_packages[@]} -gt 0 ]; then
    say "installing ${need_packages[*]} (about a minute on a fresh machine)"
    apt-get install -y -qq --no-install-recommends "${need_packages[@]}" >/dev/null
    say "packages installed; emulator: $(qemu-i386-static --version | head -n 1)"
fi

# The kernel refuses 32-bit ELF files; hand them to qemu's user-mode emulator. The "F"
# flag makes the kernel open the interpreter once, at registration, so after the
# emulator changes the registration must be made again or the old binary keeps running.
# The stamp records which interpreter file the current registration was made with.
if ! mountpoint -q /proc/sys/fs/binfmt_misc; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
interpreter=/usr/bin/qemu-i386-static
entry=/proc/sys/fs/binfmt_misc/qemu-i386
stamp_dir=/var/lib/wic-image-plugin
stamp="$stamp_dir/qemu-i386.registered"
identity="$(stat -c '%i %Y %s' "$interpreter") $(qemu-i386-static --version | head -n 1)"
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
