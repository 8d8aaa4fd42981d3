#!/usr/bin/env bash
# Builds the uninstaller for release, 64-bit (x86_64) and 32-bit (i686), from the checked-out
# commit. The build is reproducible: the same commit gives the same bytes on any machine set up
# by scripts/setup.sh, in any folder. Writes OUT/x86_64/unins000.exe, OUT/i686/unins000.exe and
# OUT/SHA256SUMS. Given a certificate and its key (PEM), also signs both with osslsigncode into
# OUT/signed/<arch>/unins000.exe with OUT/signed/SHA256SUMS; the unsigned files and their sums
# stay, so that anyone can rebuild and compare.
#   scripts/release.sh [--cert CERT.pem --key KEY.pem] [OUT]     (OUT: out/release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cert="" key=""
while [[ "${1:-}" == --* ]]; do
    case "$1" in
    --cert) cert="$2" ;;
    --key) key="$2" ;;
    *) echo "release.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
[[ -z "$cert" || -n "$key" ]] || { echo "release.sh: --cert needs --key" >&2; exit 2; }
out=$(mkdir -p "${1:-$root/out/release}" && cd "${1:-$root/out/release}" && pwd)
[[ -z "$(git -C "$root" status --porcelain)" ]] ||
    echo "release.sh: the work tree has changes: this build is not of a commit" >&2
# Anything that would stamp a date takes the commit's.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)

for arch in x86_64 i686; do
    build="$out/build-$arch"
    rm -rf "$build"
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVT_BUILD_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" >/dev/null
    cmake --build "$build" --target unins000 >/dev/null
    mkdir -p "$out/$arch"
    cp "$build/unins000.exe" "$out/$arch/unins000.exe"
    rm -rf "$build"
done
(cd "$out" && sha256sum x86_64/unins000.exe i686/unins000.exe >SHA256SUMS)

if [[ -n "$cert" ]]; then
    for arch in x86_64 i686; do
        mkdir -p "$out/signed/$arch"
        rm -f "$out/signed/$arch/unins000.exe"
        osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n "Veltrane Uninstaller" \
            -in "$out/$arch/unins000.exe" -out "$out/signed/$arch/unins000.exe" >/dev/null
    done
    (cd "$out/signed" && sha256sum x86_64/unins000.exe i686/unins000.exe >SHA256SUMS)
fi
cat "$out/SHA256SUMS"
