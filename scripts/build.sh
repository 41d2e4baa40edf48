#!/usr/bin/env bash
# Configures and builds the project. Usage: scripts/build.sh [--sanitize]  (build folder: build/ or build-asan/)
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
cd "$(dirname "$0")/.."
dir=build; extra=()
if [ "${1:-}" = "--sanitize" ]; then dir=build-asan; extra=(-DTESKI_SANITIZE=ON); fi
# A compiler cache, where the machine has one, makes rebuilds in several checkouts cheap; nothing needs it.
if command -v ccache >/dev/null; then extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
