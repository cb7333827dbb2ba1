#!/usr/bin/env bash
# The live overlay and the captures of the real viewer inside a private X server, on a demo
# camera folder, driven with real input events: demo01.avi is opened through the open
# dialog, stopped, rewound and redrawn at its first frame with an offset step there and
# back; the window's pixels must show the frame's points inverting the picture where the
# demo data puts them. "Grabber" and two presses of "Capture" must write 1.bmp, 2.bmp and
# 3.bmp into the demo folder, with white discs at the points. Every wait is bounded; the X
# server and the viewer are stopped on every way out.
# Usage: viewer_overlay_e2e.sh OSTREL MAKE_DEMO_DATA CONTROL_BAR_GEOMETRY OVERLAY_SCREEN_CHECK
set -uo pipefail

ostrel=$1
make_demo_data=$2
bar_geometry=$3
screen_check=$4
title_pattern='^OstrelApp\[Tovik\]$'
demo_seconds=2
source "$(dirname "$0")/demo_session.sh"

# Stopped and rewound, the picture holds the first frame; "<" then ">" leave the offset as
# it was and redraw the overlay at once, for the frame of position 0: frame 0.
sleep 0.5
click_control 1001
click_control 1003
sleep 0.5
click_control 1010
click_control 1004
click_control 1005
sleep 0.5
expect_running "stop, rewind and an offset step there and back"
expect_no_error_box "stop, rewind and an offset step there and back"

# "Grabber" enables "Capture"; two captures write the frame and two numbered snapshots into
# the demo folder, the viewer's working folder.
rm -f "$work"/demo/*.bmp
click_control 1008
click_control 1009
click_control 1009
for _ in $(seq 50); do [ -s "$work/demo/3.bmp" ] && break; sleep 0.1; done
for name in 1.bmp 2.bmp 3.bmp; do
  [ -s "$work/demo/$name" ] || fail "no $name in the demo folder after two captures"
done
[ -e "$work/demo/4.bmp" ] && fail "two captures wrote a third snapshot"
expect_no_error_box "two captures"
echo "ok: Grabber and two captures wrote 1.bmp, 2.bmp and 3.bmp"

# The window's pixels against the demo data for frame 0, and the snapshots' discs.
timeout 20 "$screen_check" "$window" "$bar_y" "$work/demo" 0 2.bmp 3.bmp ||
  fail "the overlay on screen or in the snapshots is not where the demo data puts it"
echo "ok: the points invert the picture on screen and are white discs in the snapshots"

expect_no_error_box "the whole session"
exit_through_menu
echo "overlay end-to-end: all checks passed"
