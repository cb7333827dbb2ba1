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
demo_seconds=3
source "$(dirname "$0")/demo_session.sh"

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
wait_window_gone 'Frame time in millisec' "the frame time box stayed"
echo "ok: the frame time box appears and goes"

expect_no_error_box "the whole session"
exit_through_menu
echo "playback end-to-end: all checks passed"
