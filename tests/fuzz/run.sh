#!/usr/bin/env bash
# Builds the rules fuzzer with clang and runs it on a fixed number of inputs from a fixed seed,
# so that a run is repeatable.
#   tests/fuzz/run.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs="${1:-200000}"
out="$root/build/fuzz"
mkdir -p "$out"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$root" "$root/tests/fuzz/rules_fuzz.cpp" "$root/uninstall/form1_rules.cpp" \
    "$root/uninstall/message_text.cpp" "$root/system/errors.cpp" \
    "$root/filesystem/path_rules.cpp" "$root/filesystem/file_rules.cpp" \
    "$root/system/reg_rules.cpp" \
    "$root/uninstall/settings_rules.cpp" -o "$out/rules_fuzz"
cd "$out"
./rules_fuzz -runs="$runs" -seed=1 -max_len=512 2>&1 | tail -3
