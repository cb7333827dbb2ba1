#!/usr/bin/env bash
# ostrel-cli render against a plain GStreamer transcode of the same file with the same
# encoder settings and no drawing, on a 1280 x 720, 30 fps, 60 s demo video with 20 tracked
# objects. Prints frames per second of each and the render's share of the plain speed.
#   bench/render_bench.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build=${1:?usage: render_bench.sh BUILD_DIR [WORK_DIR]}
work=${2:-/tmp/ostrel-render-bench}
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

encoder="x264enc speed-preset=veryfast pass=qual quantizer=20"
plain=$(timed gst-launch-1.0 -q filesrc location="$video" ! decodebin ! videoconvert ! $encoder \
  ! matroskamux ! filesink location="$work/plain.mkv")
live=$(timed "$build/cli/ostrel-cli" render "$video" --output "$work/live.mkv")
snapshot=$(timed "$build/cli/ostrel-cli" render "$video" --output "$work/snapshot.mkv" --style snapshot)

fps() { echo "$frames / $1" | bc -l; }
printf '%-34s %7.1f fps\n' "gst-launch-1.0 transcode (plain)" "$(fps "$plain")"
printf '%-34s %7.1f fps  (%.2fx plain)\n' "ostrel-cli render --style live" "$(fps "$live")" "$(echo "$plain / $live" | bc -l)"
printf '%-34s %7.1f fps  (%.2fx plain)\n' "ostrel-cli render --style snapshot" "$(fps "$snapshot")" \
  "$(echo "$plain / $snapshot" | bc -l)"
