#!/usr/bin/env bash
# Builds the libFuzzer targets (clang 14, build-fuzz/) and runs each for a while.
# Usage: [FUZZ_SEED=N] scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 20 seconds, every target)
# Each target starts from its seeds in fuzz/corpus/<reader>/ plus what earlier runs found
# (build-fuzz/corpus/<reader>/), with the words of fuzz/dict/<reader>.dict; a crash, leak, hang or
# undefined behaviour leaves its input in build-fuzz/fuzz-artifacts/<reader>/ and makes the script fail.
set -uo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift $(( $# > 0 ? 1 : 0 ))
dir=build-fuzz

generator=(); command -v ninja >/dev/null && generator=(-G Ninja)
CC=clang-14 CXX=clang++-14 cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESKI_FUZZ=ON -DTESKI_BUILD_GUI=OFF >/dev/null || exit 1
cmake --build "$dir" --target fuzz_all -j "${TESKI_JOBS:-2}" || exit 1

if [ $# -gt 0 ]; then targets=("$@"); else
  mapfile -t targets < <(cd "$dir/bin" && ls fuzz_* 2>/dev/null | sort)
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets built"; exit 1; }

# The readers take files: keep them in memory when the machine allows, in a folder of this run that
# goes with it (a program stopped by a find cannot clean up its own files).
base=${TMPDIR:-/tmp}
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then base=/dev/shm; fi
TMPDIR=$(mktemp -d "$base/teski-fuzz-run.XXXXXX") || exit 1
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# FUZZ_SEED fixes libFuzzer's seed (CI uses one, so a run repeats what the last one did as far as time allows).
seed=(); [ -n "${FUZZ_SEED:-}" ] && seed=(-seed="$FUZZ_SEED")
failed=0
printf '%-28s %8s %10s  %s\n' target seconds runs result
for t in "${targets[@]}"; do
  reader=${t#fuzz_}
  corpus="$dir/corpus/$reader"; artifacts="$dir/fuzz-artifacts/$reader"; log="$dir/fuzz-logs/$reader.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  seeds=(); [ -d "fuzz/corpus/$reader" ] && seeds=("fuzz/corpus/$reader")
  dict=(); [ -f "fuzz/dict/$reader.dict" ] && dict=(-dict="fuzz/dict/$reader.dict")
  "$dir/bin/$t" "${seed[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -eq 0 ]; then result=ok; else
    result="FAILED ($(grep -m1 -oE 'ERROR: [A-Za-z]+: [^ ]+|runtime error: .*|ERROR: libFuzzer: [a-z-]+' "$log" \
      || echo "exit $rc")); input: $(sed -n 's/.*Test unit written to //p' "$log" | head -1); log: $log"
    failed=1
  fi
  printf '%-28s %8s %10s  %s\n' "$t" "$seconds" "${runs:-?}" "$result"
done
exit $failed
