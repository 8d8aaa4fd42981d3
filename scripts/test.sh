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

work=$(mktemp -d)
lanes=()
trap '[[ ${#lanes[@]} -eq 0 ]] || kill "${lanes[@]}" 2>/dev/null; rm -rf "$work"' EXIT
# The Wine tiers run one after another in one throwaway session, whose prefix is made once.
export VT_WINE_SESSION="$work/wine"
# The tiers need no benchmarks (they build where a build has them already).
export VT_BENCHMARKS=OFF

wanted() { [[ " ${tiers[*]} " == *" $1 "* ]]; }
# Runs a step of a tier into the tier's log; its status goes to DONE once it has ended.
step() {
    local tier="$1" done="$2"
    shift 2
    "$@" >>"$work/$tier.log" 2>&1
    echo $? >"$work/$tier.$done"
}
# Waits for a step of a tier to end, or for the other lanes to end without it; its status.
ended() {
    while [[ ! -s "$work/$1.$2" ]]; do
        local alive=0 lane
        for lane in "${lanes[@]}"; do
            [[ "$lane" == "$BASHPID" ]] || ! kill -0 "$lane" 2>/dev/null || alive=1
        done
        [[ "$alive" -eq 1 ]] || break
        sleep 1
    done
    return "$(cat "$work/$1.$2" 2>/dev/null || echo 1)"
}
# Runs the rest of a tier once its build has ended well; a failed build is the tier's status.
after_build() {
    local tier="$1"
    shift
    if ended "$tier" built; then
        step "$tier" status "$@"
    else
        cp "$work/$tier.built" "$work/$tier.status"
    fi
}

# The tiers run in three lanes, so that the two cores stay busy: a Wine session keeps less than
# one of them busy, and no test depends on how quickly it runs. The first lane builds what the
# Windows tiers run, one build after another; the second runs the fuzzing and the native tiers;
# the third makes the Wine session's prefix, then runs the Wine sessions, each once its build
# is there. The lanes that build yield to the one that runs programs (nice), so that the
# programs under test are never starved of a core, and the second lane yields to the first, whose
# builds the Wine sessions wait for. The tiers' outputs follow in their order.
{
    renice -n 10 -p "$BASHPID" >/dev/null
    wanted wine && step wine built bash scripts/build.sh win64
    wanted wine32 && step wine32 built bash scripts/build.sh win32
    wanted release && mkdir -p "$work/release" &&
        step release built tests/release/release_test.sh --build "$work/release"
} &
lanes+=($!)
{
    renice -n 15 -p "$BASHPID" >/dev/null
    wanted fuzz && step fuzz status tests/fuzz/run.sh 200000
    wanted native && step native status bash -c \
        'bash scripts/build.sh native && ctest --test-dir build/native --output-on-failure'
} &
lanes+=($!)
{
    # If making the prefix fails here, the first Wine tier makes it again, and its log says why.
    if wanted wine || wanted wine32 || wanted release; then
        tests/wine/with-wine.sh true >/dev/null 2>&1 || rm -rf "$VT_WINE_SESSION"
    fi
    wanted wine && after_build wine tests/wine/with-wine.sh ctest --test-dir build/win64 \
        --output-on-failure
    wanted wine32 && after_build wine32 tests/wine/with-wine.sh ctest --test-dir build/win32 \
        --output-on-failure
    wanted release && after_build release tests/release/release_test.sh --check "$work/release"
} &
lanes+=($!)
wanted format && step format status bash -c \
    "git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror"

passed=0
failed=0
# Adds a tier's ctest counts to the totals; a tier that failed without counts counts once.
count() {
    local status="$1" log="$2" line
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
    ended "$tier" status
    status=$?
    echo "=== $tier"
    log="$work/$tier.log"
    case "$tier" in
    fuzz) tail -8 "$log" ;;
    release) if [[ "$status" -eq 0 ]]; then tail -3 "$log"; else cat "$log"; fi ;;
    *) cat "$log" ;;
    esac
    count "$status" "$log"
    [[ "$status" -eq 0 ]] || echo "=== $tier FAILED"
done

echo "$passed passed, $failed failed"
[[ "$failed" -eq 0 ]]
