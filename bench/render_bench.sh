#!/usr/bin/env bash
# ostrel-cli render against a plain GStreamer transcode of the same file with the same
# encoder settings and no drawing, on a 1280 x 720, 30 fps, 60 s demo video with 20 tracked
# objects. Prints frames per second of each and the render's share of the plain speed.
# With ROUNDS above 1 the three are timed in turn that many times, each round printed, and
# the medians of the shares last: on a shared machine one round says little.
#   bench/render_bench.sh BUILD_DIR [WORK_DIR] [ROUNDS]
set -euo pipefail
build=${1:?usage: render_bench.sh BUILD_DIR [WORK_DIR] [ROUNDS]}
work=${2:-/tmp/ostrel-render-bench}
rounds=${3:-1}
frames=1800

mkdir -p "$work"
video="$work/demo01.mov"
if [ ! -f "$video" ]; then
  echo "generating $video ..." >&2
  "$build/tools/demo/make_demo_data" "$work" --containers mov --seconds 60 --size 1280x720 --objects 20 >/dev/null
fi

# Seconds that a command takes.
timed() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

# The middle value of numbers, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

fps() { echo "$frames / $1" | bc -l; }

encoder="x264enc speed-preset=veryfast pass=qual quantizer=20"
liveShares=""
snapshotShares=""
for round in $(seq 1 "$rounds"); do
  [ "$rounds" -gt 1 ] && echo "round $round"
  plain=$(timed gst-launch-1.0 -q filesrc location="$video" ! decodebin ! videoconvert ! $encoder \
    ! matroskamux ! filesink location="$work/plain.mkv")
  live=$(timed "$build/cli/ostrel-cli" render "$video" --output "$work/live.mkv")
  snapshot=$(timed "$build/cli/ostrel-cli" render "$video" --output "$work/snapshot.mkv" --style snapshot)
  printf '%-34s %7.1f fps\n' "gst-launch-1.0 transcode (plain)" "$(fps "$plain")"
  printf '%-34s %7.1f fps  (%.2fx plain)\n' "ostrel-cli render --style live" "$(fps "$live")" "$(echo "$plain / $live" | bc -l)"
  printf '%-34s %7.1f fps  (%.2fx plain)\n' "ostrel-cli render --style snapshot" "$(fps "$snapshot")" \
    "$(echo "$plain / $snapshot" | bc -l)"
  liveShares+="$(echo "$plain / $live" | bc -l)"$'\n'
  snapshotShares+="$(echo "$plain / $snapshot" | bc -l)"$'\n'
done
if [ "$rounds" -gt 1 ]; then
  printf 'median of %d rounds: live %.2fx plain, snapshot %.2fx plain\n' "$rounds" \
    "$(printf '%s' "$liveShares" | median)" "$(printf '%s' "$snapshotShares" | median)"
fi
