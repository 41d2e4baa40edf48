#!/usr/bin/env bash
# Proves the vessel plug-ins against the simulator's own SDK headers with the MinGW cross compiler:
#   1. every plug-in source (and the module library) compiles against the real headers, a string literal
#      passed as char* being an error as it is for the Microsoft compiler in conformance mode, and so being
#      a POSIX-only header or call;
#   2. each plug-in links into a DLL against a stub import library of the simulator's core that holds only
#      the SDK functions the sources import (what the SDK headers mark as the core's), plus the module library:
#      any other symbol the plug-in needs fails the link;
#   3. each DLL exports the entries the simulator looks for: ovcInit, ovcExit, GetModuleVersion.
#
# Usage: check_plugins_against_sdk.sh MANIFEST SDK_INCLUDE WORK_DIR
#   MANIFEST lines: "include DIR" (our include folders), "glue FILE" (the module library's source),
#   "plugin NAME FILE" (one source of a plug-in).
# Exit 77 (skipped) when the SDK headers or the cross compiler are absent.
set -euo pipefail

manifest=$1 sdk=$2 work=$3
skip=77
cross=x86_64-w64-mingw32
if [ ! -f "$sdk/Orbitersdk.h" ]; then
  echo "skipped: no SDK headers at $sdk"; exit $skip
fi
for tool in g++ nm dlltool objdump c++filt; do
  if ! command -v "$cross-$tool" >/dev/null; then
    echo "skipped: $cross-$tool is not installed (scripts/setup.sh installs it)"; exit $skip
  fi
done

cxx=("$cross-g++")
command -v ccache >/dev/null && cxx=(ccache "$cross-g++")
rm -rf "$work"
mkdir -p "$work/include" "$work/obj"

# The SDK's headers, with what GCC cannot take from them stood in for: OrbiterAPI.h includes <lua/lua.h>
# in lower case; DrawAPI.h and CelBodyAPI.h need the Microsoft compiler's graphics headers; MFDAPI.h names
# a class in a friend declaration only, which GCC (unlike that compiler) does not take as declaring it.
cp -R "$sdk/." "$work/include/"
[ -e "$work/include/lua" ] || ln -s Lua "$work/include/lua"
for standin in DrawAPI.h CelBodyAPI.h; do
  printf '#pragma once\n#include "OrbiterAPI.h"\n#include "VesselAPI.h"\nclass Instrument_User;\n' > "$work/include/$standin"
done

# POSIX-only headers, which the Microsoft compiler lacks, fail the compile; so do MinGW's POSIX names
# (strcasecmp and the like) with NO_OLDNAMES.
for posix in strings.h unistd.h dlfcn.h pthread.h; do
  printf '#error "%s is POSIX-only: the Microsoft compiler has no such header"\n' "$posix" > "$work/include/$posix"
done

includes=() glue="" plugins=()
declare -A sources
while read -r kind a b; do
  case "$kind" in
    include) includes+=(-I "$a") ;;
    glue) glue=$a ;;
    plugin) [ -n "${sources[$a]:-}" ] || plugins+=("$a"); sources[$a]+="$b " ;;
  esac
done < "$manifest"

flags=(-std=c++20 -fms-extensions -DNO_OLDNAMES -O0 -Wall -Wextra -Werror=write-strings -isystem "$work/include" "${includes[@]}")
failed=0
compile() { # source object
  if ! "${cxx[@]}" "${flags[@]}" -c "$1" -o "$2" 2> "$2.log"; then
    echo "FAILED to compile against the SDK: $1"; cat "$2.log"; failed=1
  elif [ -s "$2.log" ]; then
    cat "$2.log"
  fi
}

compile "$glue" "$work/obj/module_glue.o"
declare -A objects
for p in "${plugins[@]}"; do
  mkdir -p "$work/obj/$p"
  for src in ${sources[$p]}; do
    obj="$work/obj/$p/$(basename "${src%.*}").o"
    compile "$src" "$obj"
    objects[$p]+="$obj "
  done
done
[ $failed -eq 0 ] || exit 1
echo "compiled against the SDK: $(echo ${sources[*]} | wc -w) plug-in sources and the module library"

# The core's functions the plug-ins import: the functions the SDK headers declare as the core's and the
# members of its imported classes (a plug-in's vtables name the base callbacks directly); and what the
# module library imports from the core beside them (its load call and date conversion).
sdk_classes=$(grep -ho 'class OAPIFUNC [A-Za-z0-9_]*' "$work/include"/*.h | awk '{print $3}' | sort -u | paste -sd'|')
sdk_functions=$(grep -hoE '^OAPIFUNC [^(;]*[^A-Za-z0-9_(][A-Za-z0-9_]+ *\(' "$work/include"/*.h |
                sed -E 's/.*[^A-Za-z0-9_]([A-Za-z0-9_]+) *\($/\1/' | sort -u | paste -sd'|')
core_symbols() { # objects...: their undefined symbols that the core provides
  "$cross-nm" -u "$@" | awk '$1 == "U" {print $2}' | sort -u | while read -r sym; do
    name=$("$cross-c++filt" "${sym#__imp_}")
    if [[ $name =~ ^(${sdk_classes}):: ]] ||
       { [[ $sym == __imp__Z* ]] && [[ ${name%%(*} =~ ^(${sdk_functions})$ ]]; }; then
      echo "${sym#__imp_}"
    fi
  done
}
{
  echo "LIBRARY simulator.exe"
  echo "EXPORTS"
  {
    # shellcheck disable=SC2086
    core_symbols ${objects[*]}
    "$cross-nm" -u "$work/obj/module_glue.o" | awk '$2 ~ /^__imp__Z/ {sub(/^__imp_/, "", $2); print $2}'
  } | sort -u
} > "$work/core.def"
"$cross-dlltool" -d "$work/core.def" -l "$work/libcore.a"
echo "stub import library: $(($(wc -l < "$work/core.def") - 2)) functions of the core"

for p in "${plugins[@]}"; do
  dll="$work/$p.dll"
  # shellcheck disable=SC2086
  if ! "$cross-g++" -shared -static-libgcc -static-libstdc++ -o "$dll" ${objects[$p]} "$work/obj/module_glue.o" \
       -L"$work" -lcore -Wl,--no-undefined 2> "$work/$p.link.log"; then
    echo "FAILED to link $p against the SDK's functions alone:"; cat "$work/$p.link.log"; failed=1; continue
  fi
  exports=$("$cross-objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/ {t=1; next} t && NF == 0 {t=0} t {print $NF}')
  for entry in ovcInit ovcExit GetModuleVersion; do
    if ! grep -qx "$entry" <<< "$exports"; then
      echo "FAILED: $p.dll does not export $entry (exports: $(echo $exports))"; failed=1
    fi
  done
  echo "$p.dll links against the SDK's functions and exports: $(echo $exports)"
done
exit $failed
