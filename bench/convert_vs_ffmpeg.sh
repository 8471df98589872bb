#!/usr/bin/env bash
# talwynwav-cli convert against the ffmpeg program doing the same conversion on the same input:
# whole process, median of N paired runs (default 5). Prints one line per case with the ratio.
# Usage: bench/convert_vs_ffmpeg.sh [N]
source "$(dirname "$0")/lib.sh"
runs=${1:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=300" -ac 2 -b:a 192k in.mp3
ffmpeg -v error -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=300" -ac 2 in.wav
ffmpeg -v error -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=30" -ac 2 \
  -c:v libx264 -preset veryfast -b:v 4M -c:a aac in.mp4

# name | profile | input | reference arguments (output file last)
cases=(
  "mp3 to WAV 48 kHz|3000|in.mp3|-vn -c:a pcm_s16le -ar 48000 -ac 2 ref.wav"
  "WAV to MP3 192k 48 kHz|2900|in.wav|-vn -c:a libmp3lame -b:a 192k -ar 48000 -ac 2 ref.mp3"
  "WAV to FLAC|110|in.wav|-vn -c:a flac -ar 48000 -ac 2 ref.flac"
  "720p to H.264 MP4 (2601)|2601|in.mp4|-c:v libx264 -b:v 1800k -s 1280x720 -r 30000/1001 -c:a libmp3lame -b:a 128k -ar 44100 -ac 2 ref.mp4"
  "720p to XviD AVI (0)|0|in.mp4|-c:v mpeg4 -vtag XVID -b:v 816k -r 25 -c:a libmp3lame -b:a 128k -ar 44100 -ac 2 ref.avi"
)
printf "%-28s %10s %10s %7s\n" case ours ffmpeg ratio
for entry in "${cases[@]}"; do
  IFS='|' read -r name profile input reference <<<"$entry"
  ours=() refs=()
  for ((i = 0; i < runs; i++)); do
    rm -rf out ref.*
    ours+=("$(seconds_of "$cli" convert --profile "$profile" -o out "$input")")
    # shellcheck disable=SC2086
    refs+=("$(seconds_of ffmpeg -y -v error -i "$input" $reference)")
  done
  a=$(printf "%s\n" "${ours[@]}" | median)
  b=$(printf "%s\n" "${refs[@]}" | median)
  printf "%-28s %9.3fs %9.3fs %7.3f\n" "$name" "$a" "$b" "$(echo "scale=4; $a / $b" | bc)"
done
