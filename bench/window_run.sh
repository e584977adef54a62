#!/usr/bin/env bash
# Whole runs of the window against hvr-sim under a virtual display (needs xvfb and xdotool):
#   start-up: from process start to the window shown, 7 runs (goal: under 0.5 s);
#   steady:   processor time of hvr over 60 s of live polling (goal: under 1 % of a core)
#             and its peak resident memory (goal: under 100 MB).
#   bench/window_run.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-60}
work=$(mktemp -d)
display=:${HVR_BENCH_DISPLAY:-96}
Xvfb "$display" -screen 0 1280x900x24 >/dev/null 2>&1 &
xvfb=$!
"$build/hvr-sim" --exit-with-parent > "$work/sim.out" &
sim=$!
trap 'kill $sim $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
dev=$(head -n 1 "$work/sim.out")
sleep 0.5

echo "start-up (process start to window shown), seconds:"
times=()
for _ in $(seq 7); do
  start=$(date +%s.%N)
  "$build/hvr" --port "$dev" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name "无线高压变比监控软件" >/dev/null 2>&1; do sleep 0.005; done
  end=$(date +%s.%N)
  times+=("$(echo "$end - $start" | awk '{printf "%.3f", $1 - $3}')")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  sleep 0.3
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END{printf "  min %s  median %s  max %s\n", a[1], a[int((NR+1)/2)], a[NR]}'

echo "steady live polling for $seconds s:"
"$build/hvr" --port "$dev" >/dev/null 2>&1 &
pid=$!
sleep 3 # the link is up, readings arrive
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN{printf "  processor: %.2f s in %d s = %.2f %% of a core\n", t / hz, s, 100 * t / hz / s}'
awk '/VmHWM/{printf "  peak resident memory: %.1f MB\n", $2 / 1024}' "/proc/$pid/status"
kill "$pid"; wait "$pid" 2>/dev/null || true
