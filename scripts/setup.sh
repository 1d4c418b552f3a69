#!/usr/bin/env bash
# Installs what building and testing the plug-in needs on a Debian 12 machine, as root:
# the mingw-w64 cross compilers, 64- and 32-bit Wine, and the qemu registration that lets
# this kernel run 32-bit Wine. Safe to run again; it only does what is missing.
set -euo pipefail

say() { printf '[setup] %s\n' "$*"; }

need_packages=()
for p in g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 qemu-user-static cmake; do
    dpkg -s "$p" >/dev/null 2>&1 || need_packages+=("$p")
done
[ -d /usr/src/googletest ] || need_packages+=(googletest)

if [ ${#need_packages[@]} -gt 0 ]; then
    say "installing ${need_packages[*]} (about 90 s on a fresh machine)"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${need_packages[@]}" >/dev/null
    say "packages installed"
fi

# The kernel refuses 32-bit ELF files; hand them to qemu's user-mode emulator.
if ! mountpoint -q /proc/sys/fs/binfmt_misc; then
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
fi
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    say "registering qemu-i386 for 32-bit executables"
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
        > /proc/sys/fs/binfmt_misc/register
fi
