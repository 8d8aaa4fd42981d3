#!/usr/bin/env bash
# Runs every test tier: formatting, native unit tests (with sanitizers), a fuzzing run of the
# native rules, the 32-bit build, the Windows unit and end-to-end tests under Wine on a virtual
# display, and the reproducible, signed release build.
#   scripts/test.sh            everything
#   scripts/test.sh native     one tier: format, native, fuzz, win32, wine, release
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh || exit 1

tiers=("$@")
[[ ${#tiers[@]} -gt 0 ]] || tiers=(format native fuzz win32 wine release)
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Adds a tier's ctest counts to the totals; a tier that failed without counts counts once.
count() {
    local status="$1" line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
    if [[ -n "$line" ]]; then
        local bad total
        bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    elif [[ "$status" -eq 0 ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
}

for tier in "${tiers[@]}"; do
    echo "=== $tier"
    case "$tier" in
    format)
        git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror >"$log" 2>&1
        status=$?
        cat "$log"
        ;;
    native)
        { bash scripts/build.sh native && ctest --test-dir build/native --output-on-failure; } \
            >"$log" 2>&1
        status=$?
        cat "$log"
        ;;
    fuzz)
        tests/fuzz/run.sh 200000 >"$log" 2>&1
        status=$?
        tail -3 "$log"
        ;;
    win32)
        bash scripts/build.sh win32 >"$log" 2>&1
        status=$?
        tail -5 "$log"
        ;;
    wine)
        { bash scripts/build.sh win64 &&
            tests/wine/with-wine.sh ctest --test-dir build/win64 --output-on-failure; } \
            >"$log" 2>&1
        status=$?
        cat "$log"
        ;;
    release)
        tests/release/release_test.sh >"$log" 2>&1
        status=$?
        tail -3 "$log"
        ;;
    *)
        echo "test.sh: unknown tier $tier" >&2
        exit 2
        ;;
    esac
    count "$status"
    [[ "$status" -eq 0 ]] || echo "=== $tier FAILED"
done

echo "$passed passed, $failed failed"
[[ "$failed" -eq 0 ]]
