#!/usr/bin/env bash
# Takes the README's screenshots of the real window against the simulated instrument, under a
# virtual display: the splash, real-time monitoring with live readings, history review after a
# download, the history curve zoomed by a drag, the calculator, the ratio error analysis and the
# first page of a test report, the archive window, and the window on a small laptop screen.
# Needs xvfb, xdotool, imagemagick and poppler-utils.
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-docs}
display=:${HVR_SCREEN_DISPLAY:-97}
mkdir -p "$out"
# Settings of their own: the analysis window shows a nameplate, class and particulars as typed.
export HOME=$(mktemp -d)
mkdir -p "$HOME/.config/hvr"
printf '[analysis]\nrated=600/5\nclass=0.2S\nstation=城南110kV变电站\ndevice=1号主变 110kV侧 CT\nphase=A\ntester=王工\n' \
    >"$HOME/.config/hvr/hvr.conf"
# Earlier tests of the same CT in the archive, for the archive window and its trend.
for n in 1 2 3; do
    "$build/hvr-cli" download --demo --rated 600/5 --class 0.2S --station 城南110kV变电站 \
        --device "1号主变 110kV侧 CT" --phase A --tester 王工 --out /dev/null 2>/dev/null
done

Xvfb "$display" -screen 0 1100x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $hvr $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
"$build/hvr" --demo >/dev/null 2>&1 &
hvr=$!

# The splash comes first; Enter leads into the main window.
splash=$(xdotool search --sync --onlyvisible --name "无线高压变比监控软件")
sleep 2.5 # past the first pause of its animation
import -window "$splash" "$out/splash.png"
xdotool key --window "$splash" Return
sleep 1

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

xdotool key F2 # the calculator beside the main window
calculator=$(xdotool search --sync --onlyvisible --name "YY折算变比计算器")
read -r cx cy < <(xwininfo -id "$calculator" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
entry() { xdotool mousemove $((cx + 220)) $((cy + $1)) click 1; }
entry 36 # 输入一次电流
xdotool type 600
xdotool mousemove $((cx + 345)) $((cy + 36)) click 1 # A
entry 76 # 输入二次电流
xdotool type 5
xdotool mousemove $((cx + 345)) $((cy + 76)) click 1 # A
xdotool key Return
sleep 0.5
import -window "$calculator" "$out/calculator.png"
xdotool key Escape

xdotool windowfocus --sync "$window"
xdotool key F4 # the ratio error analysis of the groups read above, and the live verdict
sleep 2
for id in $(xdotool search --onlyvisible --name ""); do
    [ "$(xdotool getwindowname "$id")" = "互感器变比误差分析" ] && analysis=$id
done
import -window "$analysis" "$out/analysis.png"

xdotool windowfocus --sync "$window"
xdotool key ctrl+o # the archive: the tests, one selected, and its CT's trend
sleep 1.5
for id in $(xdotool search --onlyvisible --name ""); do
    [ "$(xdotool getwindowname "$id")" = "测试记录" ] && records=$id
done
read -r rx ry < <(xwininfo -id "$records" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
xdotool mousemove $((rx + 300)) $((ry + 66)) click 1 # the newest test
xdotool mousemove $((rx + 432)) $((ry + 572)) click 1 # 趋势
sleep 0.8
import -window "$records" "$out/archive.png"

"$build/hvr-cli" download --demo --rated 600/5 --class 0.2S --station 城南110kV变电站 \
    --device "1号主变 110kV侧 CT" --phase A --tester 王工 --out /dev/null --report "$HOME/report.pdf" 2>/dev/null
pdftoppm -r 60 -png -f 1 -l 1 -singlefile "$HOME/report.pdf" "$out/report"
kill $hvr $xvfb 2>/dev/null || true

# A 1366 × 768 laptop at 125 %: the whole window on the screen, at the zoom that fits.
laptop=:$((${display#:} + 1))
Xvfb "$laptop" -screen 0 1366x768x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$laptop QT_SCALE_FACTOR=1.25 "$build/hvr" --demo >/dev/null 2>&1 &
hvr=$!
splash=$(DISPLAY=$laptop xdotool search --sync --onlyvisible --name "无线高压变比监控软件")
DISPLAY=$laptop xdotool key --window "$splash" Return
sleep 4
DISPLAY=$laptop import -window root "$out/laptop.png"
echo "$out/splash.png $out/realtime.png $out/history.png $out/curve.png $out/calculator.png $out/analysis.png" \
    "$out/archive.png $out/report.png $out/laptop.png"
