#!/usr/bin/env bash
# Builds every fuzz target here (each *_fuzz.cpp, with the platform-neutral sources of vt_core)
# with clang's libFuzzer and the sanitizers, and runs each on a fixed number of inputs from a
# fixed seed, so that a run is repeatable.
#   tests/fuzz/run.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs="${1:-200000}"
out="$root/build/fuzz"
mkdir -p "$out"
mapfile -t core < <(sed -n "/^add_library(vt_core/,/^)/s|^ *\([a-z0-9_/]*\.cpp\)$|$root/\1|p" \
    "$root/CMakeLists.txt")
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root")
# The sources of vt_core are compiled once, for every target.
rm -rf "$out/core" && mkdir "$out/core" && (cd "$out/core" && clang++ "${flags[@]}" -c "${core[@]}")
for target in "$root"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$target" .cpp)
    clang++ "${flags[@]}" "$target" "$out"/core/*.o -o "$out/$name"
    echo "$name:"
    (cd "$out" && "./$name" -runs="$runs" -seed=1 -max_len=512 2>&1 | tail -3)
done
