#!/usr/bin/env bash
# A whole firing in one go: set up, build, turn a Google Earth file of launch sites and targets into a launch
# scenario, fly it in orbhost with the O key pressed, read the wrecks of the saved current state, and write
# the result KML, the impact diagrams and a table of every missile's figures into an output folder. With a
# display, Zielmark is then opened on the same folders.
#
# Usage: scripts/firing.sh [options]
#   --out DIR       output folder (default out/firing-<UTC timestamp>/)
#   --kml FILE      launch sites ("Tesk...") and targets (default examples/desert_range.kml)
#   --seed N        seed of the random assignment of missiles to targets and delays (default 7)
#   --build DIR     build folder (default build/)
#   --root DIR      orbhost's installation root (default <build>/orbroot)
#   --no-setup      skip scripts/setup.sh (packages already installed)
#   --no-build      skip scripts/build.sh (programs already built in the build folder)
#   --no-gui        do not open Zielmark even when a display is available
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

say() { printf 'firing: %s\n' "$*"; }
fail() { printf 'firing: ERROR: %s\n' "$*" >&2; exit 1; }

out="" kml="examples/desert_range.kml" seed=7 build=build root="" setup=1 compile=1 gui=1
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=${2:?--out needs a folder}; shift 2 ;;
    --kml) kml=${2:?--kml needs a file}; shift 2 ;;
    --seed) seed=${2:?--seed needs a number}; shift 2 ;;
    --build) build=${2:?--build needs a folder}; shift 2 ;;
    --root) root=${2:?--root needs a folder}; shift 2 ;;
    --no-setup) setup=0; shift ;;
    --no-build) compile=0; shift ;;
    --no-gui) gui=0; shift ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) fail "unknown option \"$1\" (see --help)" ;;
  esac
done
case "$seed" in ''|*[!0-9]*) fail "--seed needs a whole number, not \"$seed\"" ;; esac
[ -f "$kml" ] || fail "no Google Earth file \"$kml\""
kml=$(realpath "$kml")
build=$(realpath -m "$build")
root=$(realpath -m "${root:-$build/orbroot}")
out=$(realpath -m "${out:-out/firing-$(date -u +%Y%m%d-%H%M%S)}")

if [ $setup = 1 ]; then say "installing the packages (scripts/setup.sh)"; scripts/setup.sh; fi
if [ $compile = 1 ]; then
  say "building (scripts/build.sh)"
  [ "$build" = "$repo/build" ] || fail "scripts/build.sh builds into build/; give --no-build with --build"
  scripts/build.sh
fi

orbhost="$build/bin/orbhost" cli="$build/bin/zielmark-cli"
for p in "$orbhost" "$cli"; do [ -x "$p" ] || fail "$p was not built (run scripts/build.sh)"; done
for m in Teski TeskiWreck; do
  [ -f "$root/Modules/$m.so" ] || fail "the plug-in $root/Modules/$m.so is missing (run scripts/build.sh)"
done

name=$(basename "$kml" .kml)
scenario_dir="$root/Scenarios/Teski"
scenario="$scenario_dir/$name.scn"
current="$root/Scenarios/(Current state).scn"
mkdir -p "$scenario_dir" "$out/diagrams"

# 1. Plan: every launch site gets a random target and a delay of 0..9 s; the realistic and the simple model take
# turns, so the figures show both; date and time now. The plan's warnings say where a model falls short.
say "planning $kml -> $scenario"
"$cli" plan "$kml" --out "$scenario" --random --seed "$seed" --alternate-models --force \
  --description "Firing of $(date -u '+%d.%m.%Y %H:%M') UTC from $name.kml" >"$out/plan.txt" \
  || { cat "$out/plan.txt" >&2; fail "zielmark-cli plan could not write the launch scenario"; }
cat "$out/plan.txt"
grep -q ':Teski' "$scenario" || fail "the launch scenario holds no missile (no launch site points at a target)"

# 2. Fly: O at 1 s starts every countdown; orbhost ends once everything has come down and saves the state.
say "flying Teski/$name in orbhost (root $root)"
rm -f "$current"
"$orbhost" run "Teski/$name" --root "$root" --key O@1 --progress 60 | tee "$out/flight.log" \
  || fail "orbhost failed (log: $out/flight.log)"
[ -f "$current" ] || fail "orbhost saved no current state ($current)"
if grep -q ':Teski$' <(tr -d '\r' <"$current"); then
  fail "a missile is still on its pad or in the air after the run (see $current)"
fi

# 3. Results: the figures table, the result KML, the diagrams and a copy of the scenario for Zielmark.
say "reading the wrecks of $current"
cp "$current" "$out/$name result.scn"
"$cli" results "$current" --kml "$out/$name.kml" --diagrams "$out/diagrams" --force >"$out/figures.txt" \
  || { cat "$out/figures.txt"; fail "zielmark-cli results could not read the current state"; }
cat "$out/figures.txt"
if command -v convert >/dev/null; then
  for svg in "$out"/diagrams/*.svg; do
    [ -e "$svg" ] || continue
    convert "$svg" "${svg%.svg}.png" 2>/dev/null || say "could not turn $(basename "$svg") into PNG"
  done
else
  say "ImageMagick's convert is not installed: diagrams as SVG only"
fi

# 4. Zielmark on the same folders: its own settings file in the output folder, results page first.
zielmark="$build/bin/Zielmark"
if [ $gui = 1 ] && [ -n "${DISPLAY:-}" ] && [ -x "$zielmark" ]; then
  mkdir -p "$out/kml"
  cp "$kml" "$out/kml/"
  printf '[Application]\r\nActiveMainTab=2\r\n[SrcWptDir]\r\nDir=%s/\r\n[OrbScnDir]\r\nDir=%s/\r\n' \
    "$out/kml" "$scenario_dir" >"$out/Zielmark.ini"
  printf '[FltResDir]\r\nDir=%s/\r\n[MRUSourceKmlFile]\r\nFile=%s\r\n[MRUEditedScnFile]\r\nFile=%s\r\n' \
    "$out" "$(basename "$kml")" "$name.scn" >>"$out/Zielmark.ini"
  say "opening Zielmark on these folders (settings $out/Zielmark.ini)"
  nohup "$zielmark" --settings "$out/Zielmark.ini" >"$out/zielmark.log" 2>&1 &
elif [ $gui = 1 ]; then
  say "no display or no $zielmark: Zielmark not opened"
fi

wrecks=$(tr -d '\r' <"$current" | grep -c ':TeskiWreck$' || true)
say "done: $wrecks wrecks; results in $out"
say "  figures.txt (table), $name.kml (Google Earth), diagrams/ (SVG, PNG), \"$name result.scn\""
