#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, as root. Does nothing when it is all
# there already.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3 clang-format clang libclang-rt-14-dev
    googletest
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine64 wine fonts-wine xvfb
    osslsigncode openssl
    locales
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # With recommends: Wine finds its fonts and X rendering libraries through them.
    apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# 32-bit Wine runs the i686 build, in the same 64-bit prefix, as 64-bit Windows runs 32-bit
# programs. Its packages come from the i386 architecture; when the package system refuses them
# (a stale index has), everything else is set up and the tiers that run the i686 build fail,
# saying what to run.
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
    echo "setup: installing 32-bit Wine (wine32:i386)"
    export DEBIAN_FRONTEND=noninteractive
    { dpkg --add-architecture i386 && apt-get update -qq &&
        apt-get install -y -qq wine32:i386 >/dev/null; } ||
        echo "setup: the package system refused 32-bit Wine, so the i686 build cannot be tested." \
            "As root, run: dpkg --add-architecture i386 && apt-get update &&" \
            "apt-get install wine32:i386" >&2
fi
# The locales whose ANSI code pages end-to-end tests run under (Cyrillic 1251, Japanese 932).
for locale in ru_RU ja_JP; do
    locale -a 2>/dev/null | grep -qix "$locale.utf-\?8" ||
        localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
done
