#!/usr/bin/env bash
# Plays a demo camera folder in the real viewer inside a private X server, driven with real
# input events: the video is opened through the open dialog by typing its name, plays and
# loops, is stopped, played and sought with the trackbar, the clock offset is stepped with
# the arrow keys and, with "AVI時刻調整" ticked, with "<" and ">"; clearing the box writes
# timeadj.log, checked byte for byte; "フレーム時刻" shows its box; "Exit" ends the viewer with
# code 0. Every wait is bounded; the X server and the viewer are stopped on every way out.
# Usage: viewer_playback_e2e.sh OSTREL MAKE_DEMO_DATA CONTROL_BAR_GEOMETRY
set -uo pipefail

ostrel=$1
make_demo_data=$2
bar_geometry=$3
title_pattern='^OstrelApp\[Tovik\]$'

work=$(mktemp -d)
xvfb_pid=""
viewer_pid=""

stop_process() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

cleanup() {
  stop_process "$viewer_pid"
  stop_process "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/viewer.log" ]; then
    echo "--- viewer output" >&2
    tail -n 40 "$work/viewer.log" >&2
  fi
  exit 1
}

expect_running() {
  kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended after $1"
}

# Fails when a box of the viewer reports an error.
expect_no_error_box() {
  local box
  for name in '^アプリケーションエラー$' '^Warning$' 'log$' 'lpa$' 'traj$'; do
    box=$(timeout 5 xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1)
    [ -z "$box" ] || fail "after $1 a box appeared: $(xdotool getwindowname "$box")"
  done
}

"$make_demo_data" "$work/demo" --seconds 3 >"$work/demo.log" 2>&1 || fail "no demo data: $(cat "$work/demo.log")"
[ -f "$work/demo/demo01.avi" ] || fail "the demo folder holds no demo01.avi"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start"
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb chose no display within 10 s"
export DISPLAY=":$(head -n 1 "$work/display")"
export QT_QPA_PLATFORM=xcb

# Where each control lies within the bar, as Qt lays it out on this display.
declare -A control_x control_y
while read -r id x y w h; do
  control_x[$id]=$((x + w / 2))
  control_y[$id]=$((y + h / 2))
done < <(timeout 20 "$bar_geometry")
[ -n "${control_x[1010]:-}" ] || fail "the control bar's layout could not be measured"

# The viewer starts in the demo folder, so its open dialog shows the demo videos.
(cd "$work/demo" && exec timeout -s KILL 60 "$ostrel") >"$work/viewer.log" 2>&1 &
viewer_pid=$!
window=$(timeout 15 xdotool search --sync --onlyvisible --name "$title_pattern" | head -n 1)
[ -n "$window" ] || fail "no main window appeared within 15 s"
timeout 5 xdotool mousemove --sync --window "$window" 400 200 || fail "cannot move the pointer"
timeout 5 xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
sleep 0.3

# The control bar: the main window's child window on its bottom edge, as wide as it is.
read -r _ _ width height <<<"$(timeout 5 xwininfo -id "$window" | awk '
  /Width:/ {w=$NF} /Height:/ {h=$NF} END {print 0, 0, w, h}')"
bar_y=""
for child in $(timeout 5 xwininfo -children -id "$window" | awk '/^ +0x[0-9a-f]+ /{print $1}'); do
  read -r x y w h <<<"$(timeout 5 xwininfo -id "$child" | awk '
    /Relative upper-left X:/ {x=$NF} /Relative upper-left Y:/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')"
  if [ "$x" -eq 0 ] && [ "$w" -eq "$width" ] && [ $((y + h)) -eq "$height" ]; then bar_y=$y; fi
done
[ -n "$bar_y" ] || fail "no control bar docked on the window's bottom edge"

click_control() {  # click_control ID [shift]
  # No --sync: a move to where the pointer already is never reports back.
  local id=$1 x=${control_x[$1]} y=$((bar_y + ${control_y[$1]}))
  if [ "${2:-}" = shift ]; then
    timeout 5 xdotool mousemove --window "$window" "$x" "$y" || fail "cannot point at control $id"
    timeout 5 xdotool keydown shift || fail "cannot hold Shift"
    timeout 5 xdotool click 1 || fail "cannot shift-click control $id"
    timeout 5 xdotool keyup shift || fail "cannot let go of Shift"
  else
    timeout 5 xdotool mousemove --window "$window" "$x" "$y" click 1 || fail "cannot click control $id"
  fi
  sleep 0.2
}

# "Open AVI" from the menu; the dialog starts in the demo folder: the name is enough.
timeout 5 xdotool key alt+f || fail "cannot type Alt+F"
sleep 0.3
timeout 5 xdotool key Return || fail "cannot choose Open AVI"
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^動画ファイルを開く$' | head -n 1)
[ -n "$dialog" ] || fail "no open dialog titled 動画ファイルを開く appeared"
timeout 5 xdotool windowfocus --sync "$dialog" || fail "cannot focus the open dialog"
sleep 0.3
timeout 5 xdotool type --delay 20 demo01.avi || fail "cannot type the file name"
timeout 5 xdotool key Return || fail "cannot confirm the open dialog"
for _ in $(seq 50); do
  timeout 5 xdotool search --onlyvisible --name '^動画ファイルを開く$' >/dev/null 2>&1 || break
  sleep 0.1
done
timeout 5 xdotool search --onlyvisible --name '^動画ファイルを開く$' >/dev/null 2>&1 &&
  fail "the open dialog is still there"
sleep 0.5
expect_running "opening demo01.avi"
expect_no_error_box "opening demo01.avi"
echo "ok: demo01.avi opened through the open dialog"

# The 3 s video plays to its end and starts again.
sleep 4
expect_running "the end of the video"
expect_no_error_box "the end of the video"
echo "ok: the video plays past its end"

# The arrow keys, while the window itself has the keyboard.
timeout 5 xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
timeout 5 xdotool key Left shift+Left Right shift+Right Left || fail "cannot type the arrow keys"
sleep 0.3
expect_running "the arrow keys"

click_control 1001
click_control 1002
click_control 1003
# A drag of the trackbar's thumb seeks once, where it is let go.
trackbar_y=$((bar_y + ${control_y[1006]}))
timeout 5 xdotool mousemove --sync --window "$window" 20 "$trackbar_y" mousedown 1 \
  mousemove --sync --window "$window" 300 "$trackbar_y" \
  mousemove --sync --window "$window" 520 "$trackbar_y" mouseup 1 || fail "cannot drag the trackbar"
sleep 0.5
expect_running "stop, play, rewind and a trackbar drag"
expect_no_error_box "stop, play, rewind and a trackbar drag"
echo "ok: stop, play, rewind and a trackbar drag"

# A manual adjustment: tick, "<" twice with Shift, ">" once, clear.
rm -f "$work/demo/timeadj.log"
click_control 1010
click_control 1004 shift
click_control 1004 shift
click_control 1005
[ -e "$work/demo/timeadj.log" ] && fail "timeadj.log was written before the box was cleared"
click_control 1010
for _ in $(seq 50); do [ -s "$work/demo/timeadj.log" ] && break; sleep 0.1; done
[ -s "$work/demo/timeadj.log" ] || fail "clearing the box wrote no timeadj.log"
printf 'TIMEADJ\t+\t0:0:1:900\r\n' >"$work/expected_timeadj.log"
cmp -s "$work/demo/timeadj.log" "$work/expected_timeadj.log" ||
  fail "timeadj.log holds $(od -c "$work/demo/timeadj.log")"
echo "ok: +1900 ms written to timeadj.log"

click_control 1011
box=$(timeout 5 xdotool search --sync --onlyvisible --name '^Frame time in millisec$' | head -n 1)
[ -n "$box" ] || fail "no box titled 'Frame time in millisec' appeared"
timeout 5 xdotool windowfocus --sync "$box" || fail "cannot focus the frame time box"
timeout 5 xdotool key Return || fail "cannot dismiss the frame time box"
for _ in $(seq 50); do
  timeout 5 xdotool search --onlyvisible --name '^Frame time in millisec$' >/dev/null 2>&1 || break
  sleep 0.1
done
timeout 5 xdotool search --onlyvisible --name '^Frame time in millisec$' >/dev/null 2>&1 &&
  fail "the frame time box stayed"
echo "ok: the frame time box appears and goes"

expect_no_error_box "the whole session"
timeout 5 xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
timeout 5 xdotool key alt+f || fail "cannot type Alt+F"
sleep 0.3
timeout 5 xdotool key Down Return || fail "cannot choose Exit"
for _ in $(seq 100); do kill -0 "$viewer_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$viewer_pid" 2>/dev/null && fail "Exit did not end the viewer within 10 s"
wait "$viewer_pid"
code=$?
viewer_pid=""
[ "$code" -eq 0 ] || fail "Exit ended the viewer with exit code $code"
echo "ok: Exit ends the viewer with exit code 0"
echo "playback end-to-end: all checks passed"
