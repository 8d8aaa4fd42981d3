#!/usr/bin/env bash
# The long fuzzing run, not one of the test tiers: every fuzz target in tests/fuzz, each for ten
# million inputs (or RUNS), with AddressSanitizer and UndefinedBehaviorSanitizer. A target added
# there joins by itself.
#   scripts/fuzz-long.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
time tests/fuzz/run.sh "${1:-10000000}"
