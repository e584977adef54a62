#!/usr/bin/env bash
# Takes the README's screenshots of the real window against the simulated instrument, under a
# virtual display: real-time monitoring with live readings, history review after a download,
# and the history curve zoomed by a drag. Needs xvfb, xdotool and imagemagick (apt-get install xvfb xdotool imagemagick).
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs}
display=:${HVR_SCREEN_DISPLAY:-97}
mkdir -p "$out"

Xvfb "$display" -screen 0 1100x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $hvr $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
"$build/hvr" --demo >/dev/null 2>&1 &
hvr=$!

# The window's client area, where the buttons are placed (twips / 15 = pixels).
window=$(xdotool search --sync --onlyvisible --name "无线高压变比监控软件")
client=$(xdotool search --onlyvisible --name "" | head -0; xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
read -r wx wy <<<"$client"
click() { # a control's centre, given in twips relative to the client area, below the menu bar
    local menu
    menu=$(( $(xwininfo -id "$window" | awk '/Height/{print $2}') - 712 ))
    xdotool mousemove $((wx + $1 / 15)) $((wy + menu + $2 / 15)) click 1
}

sleep 6 # live readings and a stretch of the curve
import -window "$window" "$out/realtime.png"

click 13507 2287 # 历史查阅 (Command9)
sleep 1
click 13567 3367 # 读  取 (Command5)
sleep 4          # 300 groups at the simulator's pace
import -window "$window" "$out/history.png"

click 13567 5167 # 生成曲线 (Command15)
sleep 1
# Drag right across the curve, from a tenth to a half of the plot: the zoom to those groups.
x0=$((wx + (600 + 540 + 900) / 15))
x1=$((wx + (600 + 540 + 4500) / 15))
y=$((wy + $(xwininfo -id "$window" | awk '/Height/{print $2}') - 712 + (2880 + 2000) / 15))
xdotool mousemove $x0 $y mousedown 1 mousemove $((x0 + 40)) $y mousemove $x1 $y mouseup 1
sleep 0.3
xdotool mousemove $((x1 - 100)) $((y - 60)) # the read-out follows the pointer
sleep 1.2
import -window "$window" "$out/curve.png"
echo "$out/realtime.png $out/history.png $out/curve.png"
