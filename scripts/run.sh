#!/usr/bin/env bash
# The main job: set up, build, and fly the demo launch scenario in orbhost. The O key at 1 s starts every
# countdown; the run ends by itself once the missiles have come down, saves Scenarios/(Current state).scn in
# the root and prints a summary of the vessels (the wrecks with their impact points).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
root=build/orbroot
scenario="Teski/Demo salvo"
if [ ! -x build/bin/orbhost ]; then
  echo "run.sh: build/bin/orbhost was not built" >&2
  exit 1
fi
if [ ! -f "$root/Scenarios/$scenario.scn" ]; then
  echo "run.sh: the demo scenario $root/Scenarios/$scenario.scn is missing" >&2
  exit 1
fi
exec build/bin/orbhost run "$scenario" --root "$root" --key "O@1" --progress 30
