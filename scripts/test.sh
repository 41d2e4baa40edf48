#!/usr/bin/env bash
# Sets up, builds and runs every test. Usage: scripts/test.sh [--sanitize]
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh "$@"
dir=build; [ "${1:-}" = "--sanitize" ] && dir=build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$(pwd)/tests/lsan.supp
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
