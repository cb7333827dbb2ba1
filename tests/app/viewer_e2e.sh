#!/usr/bin/env bash
# Runs the real viewer in a private X server and drives it with real input events: the
# window and its control bar appear, input to the disabled bar and the Alt+"?" and Alt+"/"
# accelerators changes nothing, "Exit" from the menu and closing the window both end the
# viewer with exit code 0. Every wait is bounded; the X server and any viewer still running
# are stopped on every way out.
# Usage: viewer_e2e.sh PATH_TO_OSTREL PATH_TO_X11_CLOSE_WINDOW
set -uo pipefail

ostrel=$1
close_window=$2
title='OstrelApp[Tovik]'
title_pattern='^OstrelApp\[Tovik\]$'

source "$(dirname "$0")/session_basics.sh"

# The X server picks a free display itself and tells which on file descriptor 3, so tests
# running side by side never collide.
start_x_server() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb chose no display within 10 s"
  export DISPLAY=":$(head -n 1 "$work/display")"
  timeout 5 xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
}

# Starts the viewer with the given arguments and sets `window` to its main window.
start_viewer() {
  # A hard limit, should any step below fail to end it.
  QT_QPA_PLATFORM=xcb timeout -s KILL 60 "$ostrel" "$@" >"$work/viewer.log" 2>&1 &
  viewer_pid=$!
  window=$(timeout 15 xdotool search --sync --onlyvisible --name "$title_pattern" | head -n 1)
  [ -n "$window" ] || fail "no window titled $title appeared within 15 s"
  # No window manager runs here: give the window the keyboard as one would.
  timeout 5 xdotool mousemove --sync --window "$window" 400 300 || fail "cannot move the pointer"
  timeout 5 xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
  sleep 0.3
}

# Waits up to 10 s for the viewer to end and checks its exit code.
expect_exit_zero() {
  local what=$1 code
  for _ in $(seq 100); do kill -0 "$viewer_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$viewer_pid" 2>/dev/null && fail "$what did not end the viewer within 10 s"
  wait "$viewer_pid"
  code=$?
  viewer_pid=""
  [ "$code" -eq 0 ] || fail "$what ended the viewer with exit code $code"
  echo "ok: $what ends the viewer with exit code 0"
}

expect_running() {
  kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended after $1"
}

# The viewer's mapped windows, its menus and boxes included (they carry its class).
visible_windows() {
  timeout 5 xdotool search --onlyvisible --class '^ostrel$' 2>/dev/null | sort
}

geometry_of() {  # prints "x y width height" of a window, relative to its parent
  timeout 5 xwininfo -id "$1" | awk '
    /Relative upper-left X:/ {x=$NF} /Relative upper-left Y:/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

# Prints "x y width height" of the control bar: the main window's child window that spans
# its width and sits on its bottom edge.
find_control_bar() {
  local window_height=$1 window_width=$2
  timeout 5 xwininfo -children -id "$window" | awk '/^ +0x[0-9a-f]+ /{print $1}' |
    while read -r child; do
      read -r x y w h <<<"$(geometry_of "$child")"
      if [ "$x" -eq 0 ] && [ "$w" -eq "$window_width" ] && [ "$h" -gt 0 ] &&
         [ $((y + h)) -eq "$window_height" ]; then
        echo "$x $y $w $h"
      fi
    done
}

start_x_server
echo "display $DISPLAY"

# First run: window, bar, accelerators, then "Exit" from the menu.
start_viewer
name=$(timeout 5 xdotool getwindowname "$window")
[ "$name" = "$title" ] || fail "window title is '$name'"
read -r _ _ width height <<<"$(geometry_of "$window")"
[ "$width" -eq 800 ] && [ "$height" -eq 600 ] || fail "window is ${width}x${height}, not 800x600"
echo "ok: window '$title' appears at 800x600"

bar=$(find_control_bar "$height" "$width")
[ -n "$bar" ] || fail "no control bar docked on the window's bottom edge"
read -r _ bar_y _ bar_height <<<"$bar"
echo "ok: control bar docked at y $bar_y, $bar_height pixels high"

before=$(visible_windows)
# Clicks along the slider's row and the buttons' row, from edge to edge.
for row in 11 27; do
  y=$((bar_y + row * bar_height / 43))
  for x in $(seq 10 80 790); do
    timeout 5 xdotool mousemove --sync "$x" "$y" click 1 || fail "cannot click at $x,$y"
  done
done
sleep 0.3
expect_running "clicks on the disabled control bar"
[ "$(visible_windows)" = "$before" ] || fail "clicks on the disabled control bar opened a window"
echo "ok: clicks on the disabled control bar do nothing"

timeout 5 xdotool mousemove --sync --window "$window" 400 300
timeout 5 xdotool windowfocus --sync "$window"
timeout 5 xdotool key --clearmodifiers alt+question alt+slash || fail "cannot type Alt+? and Alt+/"
sleep 0.3
expect_running "Alt+? and Alt+/"
[ "$(visible_windows)" = "$before" ] || fail "Alt+? or Alt+/ opened a window"
name=$(timeout 5 xdotool getwindowname "$window")
[ "$name" = "$title" ] || fail "window title changed to '$name' after Alt+?"
echo "ok: Alt+? and Alt+/ do nothing"

timeout 5 xdotool key alt+f || fail "cannot type Alt+F"
for _ in $(seq 50); do
  [ "$(visible_windows)" != "$before" ] && break
  sleep 0.1
done
[ "$(visible_windows)" != "$before" ] || fail "Alt+F opened no menu"
# The menu opens on its first item, "Open AVI"; the next one is "Exit".
timeout 5 xdotool key Down Return || fail "cannot choose from the menu"
expect_exit_zero '"Exit" from the menu'

# Second run, with arguments the viewer must ignore: closing the window ends it.
start_viewer --open /nonexistent/video.avi extra
read -r _ _ width height <<<"$(geometry_of "$window")"
[ "$width" -eq 800 ] && [ "$height" -eq 600 ] || fail "with arguments the window is ${width}x${height}"
echo "ok: command-line arguments change nothing"
timeout 5 "$close_window" "$window" || fail "cannot ask the window to close"
expect_exit_zero "closing the window"

echo "end-to-end: all checks passed"
