#!/usr/bin/env bash
# The main job: a whole firing in one command. Sets up and builds, turns the sample Google Earth file into a
# launch scenario with zielmark-cli, flies it in orbhost with the O key pressed, reads the wrecks of the saved
# current state, and writes the result KML, the impact diagrams and a table of every missile's figures into an
# output folder named at the end. With a display, Zielmark then opens on those folders.
# Options are those of scripts/firing.sh (for example --out DIR, --kml FILE, --no-gui).
set -euo pipefail
cd "$(dirname "$0")/.."
exec scripts/firing.sh "$@"
