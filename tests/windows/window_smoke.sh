#!/usr/bin/env bash
# The window's smoke run under Wine, driven from outside as a user drives it: sharemon.exe
# starts with a table file named on its command line, then a click on the watched share (its
# history on the chart page), "Пуск", a tick against the stand-in net.exe, "Стоп" and "Выход"
# from the menu.
# Screenshots of the window (never of a menu or a dialog, which Wine shows black) are compared
# with the golden pictures of the Windows build in golden/; the time from the start to the
# first screenshot equal to the start picture is reported. Runs in the tests' Wine
# (tests/windows/wine.sh) on their virtual display; the Wine server runs already, as once
# Windows is up.
#   window_smoke.sh BUILD_DIR        (build/windows-tests)
# Prints "window smoke run: passed", or what failed (with the picture seen); exits 1 then.
set -euo pipefail
build=$1
out=$build
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"
if [[ -z ${WINEPREFIX:-} ]]; then
  in_wine "${BASH_SOURCE[0]}" "$@"
  exit
fi
golden=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/golden
run=$build/smoke
rm -rf "$run"
mkdir -p "$run"
cp "$build/sharemon.exe" "$build/NETAPI32.dll" "$run/"
printf 'team\r\n' >"$run/splist.txt"
# "Время,team" and two rows, in Windows-1251.
printf '\xc2\xf0\xe5\xec\xff,team\r\n08.12.2026 9:05:07,2\r\n08.12.2026 9:35:07,1\r\n' >"$run/table.txt"
fail() {
  echo "window smoke run: $*"
  exit 1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    (($(now_ms) < deadline)) || return 1
    sleep 0.05
  done
}

window_id() { xdotool search --name '^Мониторинг количества подключений' 2>/dev/null | head -1; }
# The window as it is on the screen, as PNM, against golden/$1.png.
looks_like() {
  local id
  id=$(window_id) && [[ -n $id ]] && xwd -silent -id "$id" 2>/dev/null | xwdtopnm >"$run/$1.pnm" 2>/dev/null &&
    pngtopnm "$golden/$1.png" 2>/dev/null | cmp -s - "$run/$1.pnm"
}
expect_picture() {
  wait_for "$2" looks_like "$1" && return
  pnmtopng "$run/$1.pnm" >"$run/$1.png" 2>/dev/null || true
  fail "the window does not look like $golden/$1.png but like $run/$1.png"
}
# A left click at ($1, $2) in the window's client area, which lies below its menu bar.
click() {
  local id height
  id=$(window_id)
  height=$(xdotool getwindowgeometry "$id" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  xdotool mousemove --window "$id" "$1" $(($2 + height - 381)) click 1
}
table_written() { compgen -G "$run/list_*.txt" >/dev/null; }
# The run's file is written after every tick: a second line is the tick's row.
tick_row_written() { table_written && (($(wc -l <"$(compgen -G "$run/list_*.txt")") >= 2)); }
net_asked_for_team() { grep -qa "$(printf '\tteam')" "$run/net.log" 2>/dev/null; }

export SHAREMON_STANDIN_NET_LOG
SHAREMON_STANDIN_NET_LOG=$(windows_path "$run/net.log")
# The Wine server and its desktop process stay a while after this, so the program starts warm.
wine cmd /c exit >/dev/null 2>&1 || true

started=$(now_ms)
wine "$run/sharemon.exe" "$(windows_path "$run/table.txt")" >"$run/wine.log" 2>&1 &
program=$!
expect_picture window_start 20
echo "[ MEASURED ] window start to its first full picture, with the Wine server running: $(($(now_ms) - started)) ms"

# The history of the table as loaded, before a tick adds a row of today's date and time.
click 30 65  # the watched share "team" in ListBox2
expect_picture window_chart_page 10

click 84 20  # Button1 "Пуск"
# The first tick comes a second later; net.exe answers within milliseconds of its start, and
# the result is posted back at once (seconds are left for a busy machine).
wait_for 20 net_asked_for_team || fail "no probe reached net.exe"
wait_for 20 tick_row_written || fail "the tick wrote no row to the run's table file"
click 84 20  # "Стоп"
# The run's file holds the run's own rows only, not the rows loaded before it; it is replaced
# by one rename, so it can be read while "Стоп" writes it again.
table=$(tr -d '\r' <"$(compgen -G "$run/list_*.txt")" | iconv -f WINDOWS-1251 -t UTF-8)
[[ $table =~ ^Время,team$'\n'[0-9.]+\ \ [0-9:]+,2$ ]] || fail "the table file holds: $table"


click 20 -10  # "Меню", then its last item, "Выход"
sleep 0.5
xdotool key Up Return
wait_for 20 eval '[[ -z $(window_id) ]]' || fail "Выход did not close the window"
wait "$program" || fail "the program ended with status $?"
[[ $(cat "$run/splist.txt") == $'team\r' ]] || fail "the watch list file holds: $(cat "$run/splist.txt")"
echo "window smoke run: passed"
