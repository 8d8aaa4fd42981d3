#!/usr/bin/env bash
# Builds every configuration into build/: the native rules with sanitizers (native), the
# uninstaller and its Windows tests (win64), and a 32-bit build that is compiled, not run
# (win32).
#   scripts/build.sh [native|win64|win32]...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

configure_and_build() {
    local name="$1"
    shift
    if [[ ! -f "build/$name/CMakeCache.txt" ]]; then
        cmake -S . -B "build/$name" -G Ninja "$@" >/dev/null
    fi
    cmake --build "build/$name"
}

configs=("$@")
[[ ${#configs[@]} -gt 0 ]] || configs=(native win64 win32)
for config in "${configs[@]}"; do
    case "$config" in
    native) configure_and_build native -DCMAKE_BUILD_TYPE=Debug -DVT_SANITIZE=ON ;;
    win64) configure_and_build win64 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ;;
    win32) configure_and_build win32 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake ;;
    *) echo "build.sh: unknown configuration $config" >&2; exit 2 ;;
    esac
done
