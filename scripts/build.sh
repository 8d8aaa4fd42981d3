#!/usr/bin/env bash
# Builds every configuration into build/: the native rules with sanitizers (native), and the
# uninstaller with its Windows tests and benchmarks, 64-bit (win64) and 32-bit (win32).
#   scripts/build.sh [native|win64|win32]...
#   VT_BENCHMARKS=OFF scripts/build.sh ...     without the benchmarks, where a build has none yet
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

configure_and_build() {
    local name="$1"
    shift
    local cache="build/$name/CMakeCache.txt"
    # Configured once, and again to add the benchmarks to a build made without them.
    if [[ ! -f "$cache" ]] ||
        { [[ "$benchmarks" == ON ]] && grep -q '^VT_BUILD_BENCHMARKS:BOOL=OFF' "$cache"; }; then
        cmake -S . -B "build/$name" -G Ninja "$@" -DVT_BUILD_BENCHMARKS="$benchmarks" >/dev/null
    fi
    cmake --build "build/$name"
}

benchmarks="${VT_BENCHMARKS:-ON}"
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
