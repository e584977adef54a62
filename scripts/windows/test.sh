#!/usr/bin/env bash
# The Windows build proven under Wine, against this machine's simulated instrument linked into
# the Wine prefix as COM3:
#   1. the core's tests built as a Windows program;
#   2. hvr-cli.exe download, byte for byte the Linux build's listing and CSV of the same
#      instrument; monitor, ten readings; the record it archived, given back exactly;
#   3. hvr.exe in a window on COM3 (a picture: build-windows/hvr-windows.png);
#   4. the installer, silent: the installed hvr-cli.exe runs, the uninstaller takes every
#      installed file away.
# Run ./run windows first.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
version=$(sed -n 's/^project(hvr VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=$root/build-windows
dir=$out/hvr-$version-win64
[ -d "$dir" ] || { echo "windows-test: no Windows build; run ./run windows first" >&2; exit 2; }
work=$(mktemp -d)
chmod 755 "$work" # the PostgreSQL server runs as its own user
export WINEPREFIX=$out/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failures=0
pass() { echo "  ok    $*"; }
fail() { echo "  FAIL  $*"; failures=$((failures + 1)); }
sim=""
xvfb=""
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1366x768x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
[ -d "$WINEPREFIX" ] || { echo "windows-test: a Wine prefix (once)" >&2; wineboot -i >/dev/null 2>&1; }
wineserver -w

echo "1. The core's tests as a Windows program"
run=$work/tests
cp -r "$dir" "$run"
cp "$out/cmake/hvr_windows_tests.exe" "$run/"
# The serial port's contract on COM3, its other end on COM4: two joined pseudo-terminals.
rm -f "$WINEPREFIX/dosdevices/com3" "$WINEPREFIX/dosdevices/com4"
socat pty,raw,echo=0,link="$WINEPREFIX/dosdevices/com3" pty,raw,echo=0,link="$WINEPREFIX/dosdevices/com4" &
socat=$!
for _ in $(seq 50); do [ -e "$WINEPREFIX/dosdevices/com4" ] && break; sleep 0.1; done
if HVR_TEST_COM_PEER=4 wine "$run/hvr_windows_tests.exe" --gtest_brief=1 >"$work/tests.log" 2>&1; then
  pass "$(grep -o '[0-9]* tests* from [0-9]* test suites* ran' "$work/tests.log" | head -1)"
else
  tail -30 "$work/tests.log"
  fail "hvr_windows_tests.exe"
fi
kill "$socat" 2>/dev/null || true

echo "2. hvr-cli.exe against the simulated instrument on COM3"
com3=$WINEPREFIX/dosdevices/com3
rm -f "$com3"
"$root/build/hvr-sim" --link "$com3" --paced --verbose >"$work/sim.device" 2>"$work/sim.log" &
sim=$!
for _ in $(seq 50); do [ -s "$work/sim.device" ] && break; sleep 0.1; done
device=$(head -1 "$work/sim.device")
linux() { "$root/build/hvr-cli" "$@" --port "$device" --no-archive 2>/dev/null; }
windows() { wine "$dir/hvr-cli.exe" "$@" 2>"$work/stderr.txt"; }
linux download --out "$work/linux.txt"
linux download --format csv --out "$work/linux.csv"
windows download --port 3 --out 'Z:'"$work/windows.txt" >/dev/null || cat "$work/stderr.txt"
windows download --port COM3 --format csv --no-archive --out 'Z:'"$work/windows.csv" >/dev/null ||
  cat "$work/stderr.txt"
cmp -s "$work/linux.txt" "$work/windows.txt" && pass "download: the listing, byte for byte ($(wc -c <"$work/windows.txt") bytes, GBK, CR LF)" ||
  fail "download: the listings differ"
cmp -s "$work/linux.csv" "$work/windows.csv" && pass "download --format csv, byte for byte" || fail "the CSVs differ"
windows monitor --port 3 --frames 10 >"$work/monitor.csv" || cat "$work/stderr.txt"
lines=$(grep -c . "$work/monitor.csv" || true)
[ "$lines" = 11 ] && pass "monitor --frames 10: a header and ten readings" || fail "monitor gave $lines lines"
windows archive list >"$work/list.txt" || cat "$work/stderr.txt"
id=$(awk 'NR == 2 { print $1 }' "$work/list.txt")
windows archive show "$id" >"$work/archived.txt" || cat "$work/stderr.txt"
cmp -s "$work/windows.txt" "$work/archived.txt" && pass "archive show $id: the record gives the listing back exactly" ||
  fail "archive show $id differs from the download"
# The team archive: a private PostgreSQL server of this machine, reached over TCP.
pgbin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
if [ -n "$pgbin" ]; then
  pgdir=$work/postgres
  mkdir -p "$pgdir"
  as_postgres=()
  if [ "$(id -u)" = 0 ]; then chown postgres "$pgdir"; as_postgres=(runuser -u postgres --); fi
  port=$((20000 + RANDOM % 20000))
  "${as_postgres[@]}" "$pgbin/initdb" -D "$pgdir/data" -A trust -U hvr -E UTF8 --no-sync >/dev/null
  "${as_postgres[@]}" "$pgbin/pg_ctl" -D "$pgdir/data" -w -l "$pgdir/log" \
    -o "-k $pgdir -c listen_addresses=127.0.0.1 -p $port -c fsync=off" start >/dev/null
  team=postgresql://hvr@127.0.0.1:$port/postgres
  windows download --port 3 --archive "$team" --out 'Z:'"$work/team.txt" >/dev/null || cat "$work/stderr.txt"
  windows archive show 1 --archive "$team" >"$work/team-archived.txt" || cat "$work/stderr.txt"
  cmp -s "$work/team.txt" "$work/team-archived.txt" && [ -s "$work/team.txt" ] &&
    pass "the team archive on PostgreSQL: the record gives the listing back exactly" ||
    fail "the team archive on PostgreSQL"
  "${as_postgres[@]}" "$pgbin/pg_ctl" -D "$pgdir/data" -m immediate stop >/dev/null
else
  echo "  skip  the team archive: no PostgreSQL server installed (Debian package postgresql)"
fi

echo "3. hvr.exe on COM3"
# A first start scans COM1 to COM16 (Wine's COM1 and COM2 are the machine's ttyS0 and ttyS1):
# the instrument is found when a link check falls into COM3's turn, within a few rounds.
before=$(wc -l <"$work/sim.log")
since_start() { tail -n +"$((before + 1))" "$work/sim.log"; }
live_replies() { since_start | grep -cE '^hvr-sim: -> ([0-9A-F]{2} ){7}[0-9A-F]{2}$' || true; }
# 6500, the answer to a link check, is what the window shows as "连接成功".
link_up() { since_start | grep -q '^hvr-sim: -> 19 64$'; }
started=$SECONDS
wine "$dir/hvr.exe" >/dev/null 2>&1 &
disown # ended by wineserver -k below, without a word from the shell
splash=""
for _ in $(seq 60); do
  splash=$(xdotool search --onlyvisible --name "无线高压变比监控软件" 2>/dev/null | head -1 || true)
  [ -n "$splash" ] && break
  sleep 0.5
done
if [ -n "$splash" ]; then
  xdotool key --window "$splash" Return 2>/dev/null
  pass "the window opened"
  for _ in $(seq 120); do [ "$(live_replies)" -ge 10 ] && break; sleep 0.5; done
  if [ "$(live_replies)" -ge 10 ] && link_up; then
    sleep 1
    import -window root "$out/hvr-windows.png"
    pass "连接成功 on COM3 and live readings after $((SECONDS - started)) s; the window: $out/hvr-windows.png"
  else
    import -window root "$out/hvr-windows.png"
    fail "no live readings within 60 s; the window: $out/hvr-windows.png"
  fi
else
  fail "no window appeared"
fi
wineserver -k 2>/dev/null || true
kill "$sim" 2>/dev/null || true
sim=""

echo "4. The installer, silently"
setup=$out/hvr-$version-win64-setup.exe
installed="$WINEPREFIX/drive_c/Program Files/hvr"
wine "$setup" /S
wineserver -w
if [ "$(wine "$installed/hvr-cli.exe" --version 2>/dev/null | tr -d '\r')" = "hvr-cli $version" ]; then
  pass "installed; hvr-cli.exe --version says hvr-cli $version"
else
  fail "the installed hvr-cli.exe did not run"
fi
expected=$( (cd "$dir" && find . -type f | wc -l) )
present=$( (cd "$installed" && find . -type f ! -name uninstall.exe | wc -l) )
[ "$present" = "$expected" ] && pass "all $expected files installed" || fail "$present of $expected files installed"
[ -f "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/hvr/hvr.lnk" ] ||
  [ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/hvr/hvr.lnk" ] &&
  pass "a Start-menu entry" || fail "no Start-menu entry"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\hvr' /v DisplayVersion 2>/dev/null |
  grep -q "$version" && pass "listed among the installed programs" || fail "not in the list of installed programs"
wine "$installed/uninstall.exe" /S
wineserver -w
sleep 2
if [ ! -e "$installed" ]; then pass "uninstalled: nothing left"; else fail "left behind: $(cd "$installed" && find . | tr '\n' ' ')"; fi

echo
[ "$failures" = 0 ] && echo "windows-test: all passed" || { echo "windows-test: $failures failed"; exit 1; }
