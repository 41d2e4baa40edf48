#!/usr/bin/env bash
# Flies our plug-ins in the simulator's own core, its Linux port beside the checkout (../shared/orbiter-port,
# built once by ../shared/tools/real-orbiter), so that orbhost can be held to it.
#
#   scripts/real-core.sh available          exit 0 when the port is there, 77 when it is not
#   scripts/real-core.sh root DIR           makes DIR a simulator folder with the two plug-ins, their class files,
#                                           meshes and demo built against the port's SDK (build-realcore/), the
#                                           plug-in that seeds them (Modules/Plugin/libTeskiSeed.so) and the
#                                           plain body of the host comparison (HostProbe)
#   scripts/real-core.sh fly DIR SCENARIO [--step S] [--tmax T] [--key K@T]... [--seed N]
#                                           flies DIR/Scenarios/SCENARIO.scn headless with a fixed step S
#                                           (0.02 s) to simulated time T (600 s), pressing key K (a letter or
#                                           digit) for the focus vessel at time T; --seed gives N to every vessel
#                                           module's <Module>SeedRandom once the scenario is loaded, as orbhost
#                                           --seed does. Prints the path of the current state the core saved.
set -euo pipefail
case "${1:-}" in -h|--help|"") sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;; esac
top="$(cd "$(dirname "$0")/.." && pwd)"
tool="$top/../shared/tools/real-orbiter"
die() { echo "real-core: $*" >&2; exit 1; }
have_port() { [ -x "$tool" ] && [ -f "$top/../shared/orbiter-port/orbiter-port-src.tar.xz" ]; }

cmd=$1; shift
case "$cmd" in
  available) have_port && exit 0 || exit 77 ;;
  root)
    [ $# -eq 1 ] || die "usage: real-core.sh root DIR"
    have_port || die "the simulator's port is not beside the checkout ($top/../shared/orbiter-port)"
    mapfile -t sdk < <("$tool" sdk | tail -2)
    [ -d "${sdk[0]}" ] && [ -f "${sdk[1]}" ] || die "no SDK from $tool sdk"
    build="$top/build-realcore"
    cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBITER_SDK_DIR="$(dirname "${sdk[1]}")" \
      -DORBITER_SDK_INCLUDE_DIR="${sdk[0]}" -DORBITER_SDK_LIB_DIR="$(dirname "${sdk[1]}")" \
      -DORBITER_SDK_BRIDGE="$top/tests/realcore/PortSdkBridge.h" -DTESKI_REAL_CORE_TOOLS=ON >/dev/null
    cmake --build "$build" -j "$(nproc)" >/dev/null || { cmake --build "$build" -j1; die "the plug-ins did not build"; }
    rm -rf "$1"
    "$tool" new-root "$1" >/dev/null
    cmake --install "$build" --prefix "$1" >/dev/null
    echo "$1" ;;
  fly)
    [ $# -ge 2 ] || die "usage: real-core.sh fly DIR SCENARIO [--step S] [--tmax T] [--key K@T]... [--seed N]"
    dir=$(cd "$1" && pwd); scn=$2; shift 2
    step=0.02; tmax=600; seed=""; keys=()
    while [ $# -gt 0 ]; do
      case "$1" in
        --step) step=$2; shift 2 ;;
        --tmax) tmax=$2; shift 2 ;;
        --key) keys+=("$2"); shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        *) die "unknown option $1" ;;
      esac
    done
    [ -x "$dir/Orbiter" ] || die "$dir is not a simulator folder (make one with: real-core.sh root DIR)"
    src="$dir/Scenarios/$scn.scn"; [ -f "$src" ] || die "no scenario $src"
    mkdir -p "$dir/Scenarios/.headless" "$dir/Script"
    lua="$dir/Script/HeadlessKeys.lua"
    echo "-- presses keys for the focus vessel at given simulated times" > "$lua"
    for k in "${keys[@]}"; do
      name=${k%@*}; at=${k#*@}
      [[ "$name" =~ ^[A-Za-z0-9]$ ]] || die "--key takes a letter or digit and a time, e.g. O@1"
      name=$(echo "$name" | tr a-z A-Z); [[ "$name" =~ ^[0-9]$ ]] && name="K$name"
      printf 'proc.wait_simtime(%s)\nvessel.get_focusinterface():send_bufferedkey(OAPI_KEY.%s)\n' "$at" "$name" >> "$lua"
    done
    awk '{ print } /^BEGIN_ENVIRONMENT/ { printf "  Script HeadlessKeys\r\n" }' "$src" > "$dir/Scenarios/.headless/run.scn"
    grep -q "Script HeadlessKeys" "$dir/Scenarios/.headless/run.scn" || die "$src has no BEGIN_ENVIRONMENT block"
    # The simulator rewrites its master configuration on exit: it is laid down before every run.
    printf '%s\r\n' "; master configuration for headless runs" "EchoAllParams = FALSE" "StartPaused = FALSE" \
      "EnableClouds = FALSE" "EnableCloudShadows = FALSE" "WindowWidth = 320" "WindowHeight = 200" \
      "ACTIVE_MODULES" "  OGLClient" "END_MODULES" > "$dir/Orbiter_NG.cfg"
    out="$dir/Scenarios/(Current state).scn"; rm -f "$out"
    log="$dir/headless-run.log"
    ( cd "$dir" && TESKI_SEED="$seed" ORBITER_RENDER_EVERY=100 timeout 1800 xvfb-run -a -s "-screen 0 1024x768x24" \
        ./Orbiter -s ".headless/run" -f "$step" -t "$tmax" -p TeskiSeed ) >"$log" 2>&1 \
      || die "the simulator ended with status $? (log: $log)"
    [ -s "$out" ] || die "the simulator saved no current state (log: $log)"
    echo "$out" ;;
  *) die "unknown command $cmd (see --help)" ;;
esac
