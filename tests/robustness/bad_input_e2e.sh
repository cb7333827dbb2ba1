#!/usr/bin/env bash
# Opens, one after another in one run of the real viewer, files that are not what they claim
# or whose companions are broken: a zero-byte video, a truncated video, a text file named
# .avi, a sound-only file, a video whose point file is garbage, one whose trajectory file
# holds every malformed line form, and one whose camera log has bad lines. Each gives its
# message (or, where nothing is wrong enough to tell, simply plays), the viewer keeps
# running, and then opens the demo video normally. Every wait is bounded.
# Usage: bad_input_e2e.sh OSTREL MAKE_DEMO_DATA
set -uo pipefail

ostrel=$(realpath "$1")
make_demo_data=$(realpath "$2")
work=$(mktemp -d)
xvfb_pid=""
viewer_pid=""

cleanup() {
  for pid in "$viewer_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && { kill "$pid" 2>/dev/null; sleep 0.2; kill -9 "$pid" 2>/dev/null; }
  done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/viewer.log" ] && tail -n 30 "$work/viewer.log" >&2
  exit 1
}

# --- The folder: the demo, and beside it the bad cases, all named badNN so they share bad.log.
"$make_demo_data" "$work/cam" --seconds 2 >/dev/null 2>&1 || fail "no demo data"
cd "$work/cam" || fail "no demo folder"
companions() {  # companions NAME: the demo's tracking files under another name
  cp demo01.lpa "$1.lpa" && cp demo01.traj "$1.traj"
}
: >bad01.avi && companions bad01
head -c 4096 demo01.avi >bad02.avi && companions bad02
printf 'this is not a video\n' >bad03.avi && companions bad03
ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=1 -c:a pcm_s16le bad04.avi || fail "no sound-only file"
companions bad04
cp demo01.avi bad05.avi && cp demo01.traj bad05.traj
printf '\377\377\377\377garbage that is no point record' >bad05.lpa
cp demo01.avi bad06.avi && cp demo01.lpa bad06.lpa
{
  echo "frame=3 time=1 x1=0.1 y1=0.1 x2=0.2 y2=0.1 x3=0.2 y3=0.2 x4=0.1 y4=0.2 score=1 breakflg=0"
  echo "trajectory 1"
  echo "frame=1 time=2"
  echo "frame=2 t=1 x1=0.1 y1=0.1 x2=0.2 y2=0.1 x3=0.2 y3=0.2 x4=0.1 y4=0.2 score=1 breakflg=0"
  printf 'frame=4 %0300d\n' 7
  echo "frame=99999999999 time=1 x1=0.1 y1=0.1 x2=0.2 y2=0.1 x3=0.2 y3=0.2 x4=0.1 y4=0.2 score=1 breakflg=0"
  echo " trajectory 2 0 1 1 1"
} >bad06.traj
cp demo01.avi bad07.avi && companions bad07
{
  printf 'TIMEADJ\n'
  printf 'bad07 not:a:time\n'
  printf 'TIMEADJ * 0:0:1:0\n'
} >bad07.log.lines
{
  for n in 01 02 03 04 05 06; do printf 'bad%s\t10:00:00:000\n' "$n"; done
  cat bad07.log.lines
} >bad.log

# --- The viewer in a private X server, started in that folder.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
(exec timeout -s KILL 120 "$ostrel") >"$work/viewer.log" 2>&1 &
viewer_pid=$!
window=$(timeout 15 xdotool search --sync --onlyvisible --name '^OstrelApp\[Tovik\]$' | head -n 1)
[ -n "$window" ] || fail "no main window"

open_file() {  # open_file NAME: "Open AVI" and the name typed into the dialog
  timeout 5 xdotool windowfocus --sync "$window" || fail "cannot focus the main window"
  sleep 0.2
  timeout 5 xdotool key alt+f && sleep 0.3 && timeout 5 xdotool key Return || fail "no menu"
  local dialog
  dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^動画ファイルを開く$' | head -n 1)
  [ -n "$dialog" ] || fail "no open dialog for $1"
  timeout 5 xdotool windowfocus --sync "$dialog" && sleep 0.3
  timeout 5 xdotool type --delay 15 "$1" && timeout 5 xdotool key Return || fail "cannot type $1"
  sleep 1.5
}

# dismiss_box TITLE_PATTERN: a box with that title must be showing; it is closed with Return.
dismiss_box() {
  local box
  box=$(timeout 8 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
  [ -n "$box" ] || fail "$2: no box titled $1"
  timeout 5 xdotool windowfocus --sync "$box" && timeout 5 xdotool key Return || fail "cannot close $1"
  sleep 0.5
}

no_box_left() {
  local name
  for name in '^アプリケーションエラー$' '^Warning$' '^Error$' 'lpa$' 'traj$' 'log$'; do
    [ -z "$(timeout 3 xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1)" ] ||
      fail "$1: an unexpected box is showing"
  done
  kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended after $1"
}

for name in bad01.avi bad02.avi bad03.avi bad04.avi; do
  open_file "$name"
  dismiss_box '^アプリケーションエラー$' "$name"
  no_box_left "$name"
  echo "ok: $name refused with a message"
done

open_file bad05.avi
dismiss_box 'bad05\.lpa$' "bad05.avi (garbage point file)"
no_box_left "bad05.avi"
echo "ok: bad05.avi's garbage point file reported"

open_file bad06.avi
no_box_left "bad06.avi (malformed trajectory lines are skipped)"
echo "ok: bad06.avi opens with its malformed trajectory lines skipped"

open_file bad07.avi
dismiss_box '^Warning$' "bad07.avi (bad log lines)"
no_box_left "bad07.avi"
echo "ok: bad07.avi's bad log lines reported"

open_file demo01.avi
sleep 1
no_box_left "demo01.avi"
echo "ok: the demo video opens normally after all of them"

timeout 5 xdotool windowfocus --sync "$window" && timeout 5 xdotool key alt+f && sleep 0.3 &&
  timeout 5 xdotool key Down Return || fail "cannot choose Exit"
for _ in $(seq 100); do kill -0 "$viewer_pid" 2>/dev/null || break; sleep 0.1; done
wait "$viewer_pid"
status=$?
viewer_pid=""
[ "$status" -eq 0 ] || fail "the viewer ended with code $status"
echo "ok: Exit ends the viewer with code 0"
