#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each on a fixed number of inputs from a fixed seed, so
# that a run is repeatable.
#   tests/fuzz/run.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs="${1:-200000}"
out="$root/build/fuzz"
mkdir -p "$out"
rules=(uninstall/form1_rules.cpp uninstall/message_text.cpp system/errors.cpp
    filesystem/path_rules.cpp filesystem/file_rules.cpp system/reg_rules.cpp
    uninstall/settings_rules.cpp uninstall/install_log.cpp)
for target in rules_fuzz install_log_fuzz; do
    clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$root" "$root/tests/fuzz/$target.cpp" "${rules[@]/#/$root/}" -o "$out/$target"
    echo "--- $target"
    (cd "$out" && "./$target" -runs="$runs" -seed=1 -max_len=512 2>&1 | tail -3)
done
