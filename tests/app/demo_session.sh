# Sourced by the end-to-end scripts that play the demo folder: makes a demo camera folder of
# $demo_seconds seconds, starts a private X server and the viewer in that folder, finds the
# control bar, and opens demo01.avi through the open dialog. Expects $ostrel, $make_demo_data,
# $bar_geometry, $title_pattern and $demo_seconds; leaves $work, $window, $viewer_pid,
# click_control, fail, expect_running and expect_no_error_box to the script, and stops the
# viewer and the X server on every way out.
source "$(dirname "${BASH_SOURCE[0]}")/session_basics.sh"

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

"$make_demo_data" "$work/demo" --seconds "$demo_seconds" >"$work/demo.log" 2>&1 || fail "no demo data: $(cat "$work/demo.log")"
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
wait_window_gone '動画ファイルを開く' "the open dialog is still there"
sleep 0.5
expect_running "opening demo01.avi"
expect_no_error_box "opening demo01.avi"
echo "ok: demo01.avi opened through the open dialog"
