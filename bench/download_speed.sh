#!/usr/bin/env bash
# Times downloads from hvr-sim over a pseudo-terminal, whole runs of hvr-cli:
#   4600 groups unpaced (goal: under 3 s end to end),
#   460 groups paced at 4800 baud (goal: at most 1.03 x the line time).
set -euo pipefail
build=${1:-build}
sim="$build/hvr-sim"
cli="$build/hvr-cli"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

# Starts the simulator with the given options; prints its device.
start_sim() {
  "$sim" "$@" > "$work/sim.out" &
  for _ in $(seq 100); do
    [ -s "$work/sim.out" ] && break
    sleep 0.05
  done
  head -n 1 "$work/sim.out"
}

run() { # label groups sim-options...
  local label=$1 groups=$2
  shift 2
  local dev
  dev=$(start_sim --groups "$groups" "$@")
  local start end
  start=$(date +%s.%N)
  "$cli" download --port "$dev" --out "$work/HVR.txt" 2> "$work/cli.err"
  end=$(date +%s.%N)
  kill %1 2>/dev/null || true
  wait 2>/dev/null || true
  local download
  download=$(sed -n 's/.*用时 \([0-9.]*\) 秒.*/\1/p' "$work/cli.err")
  printf '%s: %d groups, whole run %.2f s, read to end %s s\n' "$label" "$groups" \
    "$(echo "$end - $start" | bc)" "$download"
  echo "$download"
}

run unpaced 4600 | head -n 1
paced=$(run paced 460 --paced)
echo "$paced" | head -n 1
measured=$(echo "$paced" | tail -n 1)
# 230 pairs and the closing pair of 4 + 16 bytes, the count request and reply, 10 bits a byte.
line=$(echo "scale=3; (231 * 20 + 6) * 10 / 4800" | bc)
printf 'paced line time %.2f s, measured %.2f s, ratio %.3f\n' "$line" "$measured" "$(echo "scale=4; $measured / $line" | bc)"
