#!/usr/bin/env bash
# The preview pane: time to the first picture after opening a file (goal: under 150 ms) and the
# share of a core that playing a 1280x720 25 fps clip takes (goal: under half a core). Headless.
# Usage: bench/preview.sh
source "$(dirname "$0")/lib.sh"
program=$(bench_program talwyn-preview-bench)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -v error -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=30" -ac 2 \
  -c:v libx264 -preset veryfast -b:v 3M -c:a aac "$work/clip.mp4"
QT_QPA_PLATFORM=offscreen "$program" "$work/clip.mp4"
