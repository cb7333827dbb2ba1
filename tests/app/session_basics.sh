# Sourced by the end-to-end scripts: a scratch folder, the X server's and the viewer's
# process ids, their stopping on every way out, and `fail`, which shows the viewer's output.
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

# Waits up to 5 s for the window titled exactly `title` to go; fails with `what` if it stays.
wait_window_gone() {
  local title=$1 what=$2
  for _ in $(seq 50); do
    timeout 5 xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "$what"
}

# "Exit" from the menu must end the viewer with exit code 0 within 10 s.
exit_through_menu() {
  timeout 5 xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
  timeout 5 xdotool key alt+f || fail "cannot type Alt+F"
  sleep 0.3
  timeout 5 xdotool key Down Return || fail "cannot choose Exit"
  for _ in $(seq 100); do kill -0 "$viewer_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$viewer_pid" 2>/dev/null && fail "Exit did not end the viewer within 10 s"
  wait "$viewer_pid"
  local code=$?
  viewer_pid=""
  [ "$code" -eq 0 ] || fail "Exit ended the viewer with exit code $code"
  echo "ok: Exit ends the viewer with exit code 0"
}
