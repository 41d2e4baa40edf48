#!/usr/bin/env bash
# Checks that every C++ source and header follows the repository's .clang-format (clang-format 14, which
# set-up installs: another version formats differently). Usage: scripts/check-format.sh [--fix]
# --fix formats the files in place. Generated tables (ModelReach.inc) stay as their generator writes them.
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
cd "$(dirname "$0")/.."
mapfile -d '' files < <(find bench fuzz host host_api missile teski_common tests wreck zielmark \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.inc' \) ! -name ModelReach.inc -print0 | sort -z)
if [ "${1:-}" = "--fix" ]; then
  clang-format-14 -i "${files[@]}"
  exit 0
fi
if ! clang-format-14 --dry-run --Werror "${files[@]}"; then
  echo "check-format: the files above differ from .clang-format; scripts/check-format.sh --fix formats them" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files follow .clang-format"
