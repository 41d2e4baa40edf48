#!/usr/bin/env bash
# Installs the build into a fresh folder and checks it as a user finds it after unpacking: the add-on in the
# simulator's layout, our programs beside it, nothing of the tests; then the installed orbhost flies the
# installed demo with the installed plug-ins.
# Usage: check_install.sh BUILD_DIR PREFIX
set -euo pipefail
build=$1 prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" > /dev/null
cd "$prefix"
failed=0
for f in Modules/Teski.so Modules/TeskiWreck.so Config/Vessels/Teski.cfg Config/Vessels/TeskiWreck.cfg \
         Meshes/NGTeskR.msh Meshes/TeskiWreck.msh "Scenarios/Teski/Demo salvo.scn" \
         bin/orbhost bin/zielmark-cli bin/kml2datD.xtr bin/kml2datF.xtr lib/liborbapi.so; do
  [ -f "$f" ] || { echo "missing: $f"; failed=1; }
done
# Only the add-on's and our programs' files: no test vessel or scenario, no placeholder files.
unexpected=$(find . -type f | grep -Ev '^\./(Modules/Teski(Wreck)?\.so|Config/Vessels/Teski(Wreck)?\.cfg|Meshes/[^/]+\.msh|Scenarios/Teski/[^/]+\.scn|bin/(orbhost|zielmark-cli|Zielmark|kml2dat[DF]\.xtr)|lib/liborbapi\.so)$' || true)
if [ -n "$unexpected" ]; then echo "not part of the add-on:"; echo "$unexpected"; failed=1; fi
[ $failed -eq 0 ] || exit 1

# The installed programs find their library, the host the plug-ins and data, and the demo flies to its wrecks.
bin/orbhost run "Teski/Demo salvo" --root . --key O@1 > run.log 2>&1 || { cat run.log; exit 1; }
wrecks=$(bin/zielmark-cli results "Scenarios/(Current state).scn" | grep -c '^Tesk-[0-9]* to ' || true)
echo "installed: $(find . -type f | wc -l) files; the demo salvo ended in $wrecks wrecks"
[ "$wrecks" -eq 4 ] || { cat run.log; exit 1; }
