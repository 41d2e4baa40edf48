#!/usr/bin/env bash
# Pictures of Zielmark's three pages for the README: runs the program under Xvfb on prepared folders (a
# planning KML file, a saved launch scenario, a flight result scenario) and saves docs/screenshots/*.png.
# Usage: scripts/screenshots.sh [build folder]   (default build/; the Zielmark target must be built;
#        ZIELMARK=path runs another Zielmark program, e.g. a sanitizer build)
set -euo pipefail
case "${1:-}" in -h|--help) sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
cd "$(dirname "$0")/.."
build=${1:-build}
program="${ZIELMARK:-$build/bin/Zielmark}"
[ -x "$program" ] || { echo "no $program; build the Zielmark target first" >&2; exit 1; }
# A fixed folder, so the folder captions in the pictures stay the same from run to run.
work="${TMPDIR:-/tmp}/zielmark-screenshots"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/kml" "$work/Orbiter/Scenarios/Teski" "$work/results"

crlf() { sed 's/$/\r/'; }

crlf > "$work/kml/Baltic salvo.kml" <<'KML'
<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2">
<Document>
  <name>Baltic salvo</name>
  <description>Three launch sites on the coast, four targets across the sea.</description>
  <Placemark><name>Tesk_1</name><Point><coordinates>13.40,54.10,0</coordinates></Point></Placemark>
  <Placemark><name>Tesk_2</name><Point><coordinates>12.10,54.09,0</coordinates></Point></Placemark>
  <Placemark><name>Tesk_3</name><Point><coordinates>14.25,53.91,0</coordinates></Point></Placemark>
  <Placemark><name>Bornholm</name><Point><coordinates>14.91,55.10,0</coordinates></Point></Placemark>
  <Placemark><name>Gotland</name><Point><coordinates>18.30,57.45,0</coordinates></Point></Placemark>
  <Placemark><name>Oeland</name><Point><coordinates>16.60,56.60,0</coordinates></Point></Placemark>
  <Placemark><name>Skane</name><Point><coordinates>13.50,55.80,0</coordinates></Point></Placemark>
</Document>
</kml>
KML

crlf > "$work/Orbiter/Scenarios/Teski/Baltic salvo.scn" <<'SCN'
BEGIN_DESC
Morning salvo over the Baltic
=== GENERATED FROM: Baltic salvo.kml ===
END_DESC

BEGIN_ENVIRONMENT
  System Sol
  Date MJD 61383.250000000000
END_ENVIRONMENT

BEGIN_FOCUS
  Ship Tesk_3
END_FOCUS

BEGIN_SHIPS
Tesk_1:Teski
  STATUS Landed Earth
  ------
  LAUNCHDELAY 2
  REALISTIC 1
  TARGET Bornholm
END
Tesk_2:Teski
  STATUS Landed Earth
  ------
  LAUNCHDELAY 0
  REALISTIC 0
  TARGET Skane
END
Tesk_3:Teski
  STATUS Landed Earth
  ------
  LAUNCHDELAY 7
  REALISTIC 1
  TARGET Oeland
END
END_SHIPS
SCN

wreck() {  # name target launchLat launchLon targetLat targetLon missAz miss lateral longitudal failure
  printf '%s-Wreck:TeskiWreck\n  STATUS Landed Earth\n' "$1"
  printf '  LATITUDE_LAST %s\n  LONGITUDE_LAST %s\n' "$5" "$6"
  printf '  LATITUDE_TARGET %s\n  LONGITUDE_TARGET %s\n' "$5" "$6"
  printf '  LATITUDE_LAUNCH %s\n  LONGITUDE_LAUNCH %s\n' "$3" "$4"
  printf '  RANGE_ACTUAL 132000.5\n  AZIMUTH_MISS %s\n  RANGE_MISS %s\n' "$7" "$8"
  printf '  LATERAL_MISS %s\n  LONGITUDAL_MISS %s\n  TARGET %s\n' "$9" "${10}" "$2"
  [ -n "${11}" ] && printf '  FAILURE %s\n' "${11}"
  printf '  TRACK 0 0.2340 0.9442 10.0 1\n  TRACK 1 0.2400 0.9500 40000.0 2\n  TRACK 2 0.2500 0.9600 1000.0 3\n'
  printf 'END\n'
}
{
  printf 'BEGIN_DESC\nEND_DESC\n\nBEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61383.260000000000\nEND_ENVIRONMENT\n\n'
  printf 'BEGIN_SHIPS\n'
  wreck Tesk_1 Bornholm 54.10 13.40 55.10 14.91 40 1240.3 797.1 950.2 ''
  wreck Tesk_3 Oeland 53.91 14.25 56.60 16.60 200 3120.0 -1067.1 -2931.8 'Engine lost thrust'
  printf 'END_SHIPS\n'
} | crlf > "$work/Orbiter/Scenarios/(Current state).scn"
cp "$work/Orbiter/Scenarios/(Current state).scn" "$work/results/Salvo 1.scn"

crlf > "$work/Zielmark.ini" <<INI
[Application]
ActiveMainTab=0
[SrcWptDir]
Dir=$work/kml/
[OrbScnDir]
Dir=$work/Orbiter/Scenarios/Teski/
[FltResDir]
Dir=$work/results/
[MRUSourceKmlFile]
File=Baltic salvo.kml
[MRUEditedScnFile]
File=Baltic salvo.scn
INI

mkdir -p docs/screenshots
out=$(cd docs/screenshots && pwd)
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$program" --settings "$work/Zielmark.ini" --screenshot "$out"
ls -l "$out"
