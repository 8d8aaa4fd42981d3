#!/usr/bin/env bash
# Runs every test tier: formatting, native unit tests (with sanitizers), a fuzzing run of the
# native rules, the Windows unit and end-to-end tests of the 64-bit and of the 32-bit build
# under Wine on a virtual display, and the reproducible, signed release build, whose shipped
# executables run some of the end-to-end rows.
#   scripts/test.sh            everything
#   scripts/test.sh native     one tier: format, native, fuzz, wine, wine32, release
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tiers=("$@")
[[ ${#tiers[@]} -gt 0 ]] || tiers=(format native fuzz wine wine32 release)
for tier in "${tiers[@]}"; do
    [[ "$tier" =~ ^(format|native|fuzz|wine|wine32|release)$ ]] ||
        { echo "test.sh: unknown tier $tier" >&2; exit 2; }
done

bash scripts/setup.sh || exit 1

passed=0
failed=0
work=$(mktemp -d)
log="$work/log"
builds=""
trap '[[ -z "$builds" ]] || kill "$builds" 2>/dev/null; rm -rf "$work"' EXIT
# The Wine tiers run one after another in one throwaway session, whose prefix is made once.
export VT_WINE_SESSION="$work/wine"
# The tiers need no benchmarks (they build where a build has them already).
export VT_BENCHMARKS=OFF

# What a Windows tier builds before it runs.
build_of() {
    case "$1" in
    wine) bash scripts/build.sh win64 ;;
    wine32) bash scripts/build.sh win32 ;;
    release) mkdir -p "$work/release" && tests/release/release_test.sh --build "$work/release" ;;
    esac
}
# The builds, the heaviest work, run one after another in the background from the start, while
# the tiers before them run: a Wine session keeps less than one of the two cores busy, and no
# test depends on how quickly it runs. Each tier waits for its own build, then shows its output.
for tier in "${tiers[@]}"; do
    [[ "$tier" =~ ^(wine|wine32|release)$ ]] || continue
    build_of "$tier" >"$work/$tier.build" 2>&1
    echo $? >"$work/$tier.built"
done &
builds=$!
built() {
    while [[ ! -s "$work/$1.built" ]] && kill -0 "$builds" 2>/dev/null; do sleep 1; done
    cat "$work/$1.build"
    return "$(cat "$work/$1.built" 2>/dev/null || echo 1)"
}

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
        tail -8 "$log"
        ;;
    wine | wine32)
        build=win64
        [[ "$tier" == wine ]] || build=win32
        { built "$tier" &&
            tests/wine/with-wine.sh ctest --test-dir "build/$build" --output-on-failure; } \
            >"$log" 2>&1
        status=$?
        cat "$log"
        ;;
    release)
        { built "$tier" && tests/release/release_test.sh --check "$work/release"; } >"$log" 2>&1
        status=$?
        if [[ "$status" -eq 0 ]]; then tail -3 "$log"; else cat "$log"; fi
        ;;
    esac
    count "$status"
    [[ "$status" -eq 0 ]] || echo "=== $tier FAILED"
done

echo "$passed passed, $failed failed"
[[ "$failed" -eq 0 ]]
