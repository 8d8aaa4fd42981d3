#!/usr/bin/env bash
# Benchmarks of the removal under Wine, printing figures (they pass or fail nothing):
#   - a silent uninstall of a product whose log names 20,000 existing files, against a bare
#     DeleteFileW loop over the same files in the same session;
#   - the worst time the window takes to answer while an interactive uninstall works;
#   - the scan's peak memory: the peak resident size of a silent uninstall with a 200 MB log,
#     less that of one with an empty log.
#   scripts/bench-removal.sh [FILES] [MEGABYTES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export VT_BENCH_FILES="${1:-20000}" VT_BENCH_MEGABYTES="${2:-200}"
bash scripts/setup.sh
bash scripts/build.sh win64
tests/wine/with-wine.sh bash -c '
    set -euo pipefail
    VT_UNINSTALLER=$("$VT_WINE" winepath -w build/win64/unins000.exe 2>/dev/null | tr -d "\r")
    export VT_UNINSTALLER
    bench=build/win64/tests/e2e/removal_bench.exe
    tests/wine/wine-exec "$bench" speed "$VT_BENCH_FILES"
    tests/wine/wine-exec "$bench" respond "$VT_BENCH_FILES"
    # The peak resident size of a silent uninstall, read off its process while it runs.
    peak() {
        tests/wine/wine-exec "$bench" stage "$1" >/dev/null
        "$VT_WINE" "C:\\vt-bench\\Veltrane\\unins000.exe" silent </dev/null >/dev/null 2>&1 &
        local pid=$! kib=0 now
        while kill -0 "$pid" 2>/dev/null; do
            now=$(awk "/^VmHWM/ {print \$2}" "/proc/$pid/status" 2>/dev/null || true)
            [[ -n "$now" ]] && kib=$now
            sleep 0.05
        done
        echo "$kib"
    }
    empty=$(peak 0)
    large=$(peak "$VT_BENCH_MEGABYTES")
    awk -v e="$empty" -v l="$large" -v mb="$VT_BENCH_MEGABYTES" "BEGIN {
        printf \"peak resident size: empty log %.1f MB, %d MB log %.1f MB; the log costs %.1f MB, %.2f times its size\n\",
            e / 1024, mb, l / 1024, (l - e) / 1024, (l - e) / 1024 / mb }"
'
