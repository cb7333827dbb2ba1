#!/usr/bin/env bash
# Runs the playback benchmark in a private X server the size of the video.
#   bench/video_playback_bench.sh BUILD_DIR [video]
set -euo pipefail
build=${1:?usage: video_playback_bench.sh BUILD_DIR [video]}
shift
exec xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bench/video_playback_bench" "$@"
