#!/usr/bin/env bash
# The removal benchmark under Wine (bench/removal_bench.cpp says what it measures). Prints
# figures; it passes or fails nothing. The machine's load at the start and the end is printed
# too: the figures of a busy machine are noisy.
#   bench/removal.sh [ROUNDS [FEWER [MORE [MEGABYTES]]]]       (3 1000 20000 200)
#   VT_EARLIER_BUILD=path/unins000.exe bench/removal.sh ...   also times an earlier build
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh >/dev/null
bash scripts/build.sh win64 >/dev/null
echo "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
tests/wine/with-wine.sh bash -c '
    set -euo pipefail
    windows() { "$VT_WINE" winepath -w "$1" 2>/dev/null | tr -d "\r"; }
    VT_UNINSTALLER=$(windows build/win64/unins000.exe)
    VT_COM_PROBE=$(windows build/win64/tests/support/vt_com_probe.dll)
    VT_GERMAN=$(windows build/win64/Languages/german.dll)
    export VT_UNINSTALLER VT_COM_PROBE VT_GERMAN
    if [[ -n "${VT_EARLIER_BUILD:-}" ]]; then
        VT_UNINSTALLER_BEFORE=$(windows "$VT_EARLIER_BUILD")
        export VT_UNINSTALLER_BEFORE
    fi
    tests/wine/wine-exec build/win64/bench/removal_bench.exe "$@"
' removal-bench "$@"
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
