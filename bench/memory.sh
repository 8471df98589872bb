#!/usr/bin/env bash
# Peak memory converting a 2-hour WAV to MP3 against a 1-minute one (maximum resident set size).
# Usage: bench/memory.sh
source "$(dirname "$0")/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=60" -ac 2 minute.wav
ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=7200" -ac 2 twohours.wav
peak() { /usr/bin/time -f "%M" "$cli" convert --profile 2900 -o out "$1" 2>&1 >/dev/null | tail -1; }
small=$(peak minute.wav); rm -rf out
large=$(peak twohours.wav)
printf "peak RSS: 1 min %d KiB, 2 h %d KiB (%.1f%% more)\n" "$small" "$large" "$(echo "scale=2; ($large - $small) * 100 / $small" | bc)"
