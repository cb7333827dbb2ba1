#!/usr/bin/env bash
# Endurance of the viewer: plays the demo video in a loop for a long time in a private X
# server, with the overlay on, and samples the viewer's resident memory every minute. After
# the first loop the resident memory must not grow. Not a CI test: it runs for half an hour.
# Usage: soak_viewer.sh BUILD_DIR [MINUTES] [VIDEO]   (BUILD_DIR holds app/ostrel and
#        tools/demo/make_demo_data; MINUTES defaults to 30; VIDEO, one of the demo videos,
#        to demo01.avi)
set -uo pipefail

build=$(realpath "$1")
minutes=${2:-30}
video=${3:-demo01.avi}
work=$(mktemp -d)
xvfb_pid=""
viewer_pid=""

cleanup() {
  [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "soak: $*" >&2
  [ -s "$work/viewer.log" ] && tail -n 20 "$work/viewer.log" >&2
  exit 1
}

"$build/tools/demo/make_demo_data" "$work/demo" --seconds 20 --containers all >/dev/null || fail "no demo data"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb

(cd "$work/demo" && exec "$build/app/ostrel") >"$work/viewer.log" 2>&1 &
viewer_pid=$!
window=$(timeout 15 xdotool search --sync --onlyvisible --name '^OstrelApp\[Tovik\]$' | head -n 1)
[ -n "$window" ] || fail "no main window"
xdotool windowfocus --sync "$window"
sleep 0.3
xdotool key alt+f && sleep 0.3 && xdotool key Return
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^動画ファイルを開く$' | head -n 1)
[ -n "$dialog" ] || fail "no open dialog"
xdotool windowfocus --sync "$dialog" && sleep 0.3
xdotool type --delay 20 "$video" && xdotool key Return
sleep 2
kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended while opening"

rss_kib() { awk -v key="^${1:-VmRSS}:" '$0 ~ key {print $2}' "/proc/$viewer_pid/status"; }
echo "minute  rss_kib  anon_kib  file_kib  shmem_kib  cpu_s"
first_loop=""
for minute in $(seq 0 "$minutes"); do
  kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended at minute $minute"
  rss=$(rss_kib)
  cpu=$(awk '{printf "%.1f", ($14 + $15) / 100}' "/proc/$viewer_pid/stat")
  echo "$minute  $rss  $(rss_kib RssAnon)  $(rss_kib RssFile)  $(rss_kib RssShmem)  $cpu"
  # The 20 s demo has looped by the first minute: from then on memory must hold still.
  [ "$minute" -eq 1 ] && first_loop=$rss
  [ "$minute" -lt "$minutes" ] && sleep 60
done
last=$(rss_kib)
growth=$((last - first_loop))
echo "resident memory after the first loop: ${first_loop} KiB; at the end: ${last} KiB; growth ${growth} KiB"
# Allocator noise is a few hundred KiB; a leak of a frame a loop would be megabytes.
[ "$growth" -le 2048 ] || fail "resident memory grew by ${growth} KiB after the first loop"
echo "soak: ok"
