#!/usr/bin/env bash
# The release build, signed with a throwaway certificate, has the bytes of the Release builds
# made in build/win64 and build/win32 (built here if no tier made them), its signatures verify
# and remove to the unsigned build, and its signed executables pass some end-to-end rows, each
# through its build's test program with the environment ctest gives it.
#   tests/release/release_test.sh [--build DIR | --check DIR]    (both, in a folder of its own)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work="${2:-$(mktemp -d)}"
[[ -n "${2:-}" ]] || trap 'rm -rf "$work"' EXIT
if [[ "${1:-}" != --check ]]; then
    bash "$root/scripts/build.sh" win64 win32 >/dev/null
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -addext extendedKeyUsage=codeSigning \
        -subj "/CN=Veltrane test signing" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
    bash "$root/scripts/release.sh" --cert "$work/cert.pem" --key "$work/key.pem" "$work/out"
fi
[[ "${1:-}" != --build ]] || exit 0
# Interactive in German, silent, and in the program files folder (for i686 "Program Files (x86)").
rows='Rows/Run.*/InGerman:Rows/Run.*/SilentEndsEveryFamilyProgram:Rows/Run.*/InProgramFilesSilent'
export VT_WINE_SESSION="${VT_WINE_SESSION:-$work/wine}"
for arch in x86_64:win64 i686:win32; do
    shipped="$work/out/${arch%:*}/unins000.exe" signed="$work/out/signed/${arch%:*}/unins000.exe"
    build="$root/build/${arch#*:}"
    cmp "$shipped" "$build/unins000.exe"
    osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >/dev/null
    osslsigncode remove-signature -in "$signed" -out "$work/${arch%:*}.exe" >/dev/null
    cmp "$work/${arch%:*}.exe" "$shipped"
    mapfile -t environment < <(ctest --test-dir "$build" -R '^e2e$' -N -V |
        sed -n 's/^[0-9]*:  \(VT_[A-Z0-9_]*=.*\)$/\1/p')
    "$root/tests/wine/with-wine.sh" env "${environment[@]}" VT_UNINSTALLER="Z:${signed//\//\\}" \
        "$root/tests/wine/wine-exec" "$build/tests/e2e/vt_e2e_tests.exe" --gtest_filter="$rows" |
        tee "$work/rows.txt"
    grep -q '^\[  PASSED  \] 3 tests' "$work/rows.txt" # a renamed row would run nothing
done
echo "release: the Release builds' bytes, both signatures verified, the rows passed on both"
