#!/usr/bin/env bash
# The main job: set up, build, and fly the demo launch scenario in orbhost.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
root=build/orbroot
if [ -x build/bin/orbhost ] && [ -f "$root/Scenarios/Teski/Demo salvo.scn" ]; then
  build/bin/orbhost run "Teski/Demo salvo" --root "$root" --key "O@1"
else
  echo "orbhost or the demo scenario is not built yet"
fi
