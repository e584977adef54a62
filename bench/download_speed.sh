#!/usr/bin/env bash
# Times downloads from hvr-sim over a pseudo-terminal, whole runs of hvr-cli:
#   4600 groups unpaced (goal: under 3 s end to end),
#   460 groups paced at 4800 baud (goal: at most 1.03 x the line time),
#   157 groups paced with one answer late or junk behind it: what a late answer costs.
set -euo pipefail
build=${1:-build}
sim="$build/hvr-sim"
cli="$build/hvr-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Starts the simulator with the given options, as a child of this shell so that it ends with
# it; its device goes to $work/sim.out.
start_sim() {
  "$sim" --exit-with-parent "$@" > "$work/sim.out" &
  sim_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/sim.out" ] && break
    sleep 0.05
  done
}

run() { # label groups sim-options...
  local label=$1 groups=$2
  shift 2
  start_sim --groups "$groups" "$@"
  local dev
  dev=$(head -n 1 "$work/sim.out")
  local start end
  start=$(date +%s.%N)
  "$cli" download --port "$dev" --out "$work/HVR.txt" 2> "$work/cli.err"
  end=$(date +%s.%N)
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  local download
  download=$(sed -n 's/.*用时 \([0-9.]*\) 秒.*/\1/p' "$work/cli.err")
  printf '%s: %d groups, whole run %.2f s, read to end %s s\n' "$label" "$groups" \
    "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$download"
  measured=$download
}

run unpaced 4600
run paced 460 --paced
# 230 pairs and the closing pair of 4 + 16 bytes, the count request and reply, 10 bits a byte.
line=$(awk 'BEGIN { print (231 * 20 + 6) * 10 / 4800 }')
printf 'paced line time %.2f s, measured %.2f s, ratio %.3f\n' "$line" "$measured" \
  "$(awk -v m="$measured" -v l="$line" 'BEGIN { print m / l }')"

# What a late answer or junk costs, against the same store read with nothing late.
run "157, nothing late" 157 --paced
base=$measured
for fault in "--late pair:23:1.0" "--late pair:23:2.5" "--junk pair:23:3000" "--late check:0:1.6" \
             "--late count:1:1.0"; do
  # shellcheck disable=SC2086 # the fault is two words
  run "157, $fault" 157 --paced $fault
  printf '  costs %.2f s more\n' "$(awk -v m="$measured" -v b="$base" 'BEGIN { print m - b }')"
done
