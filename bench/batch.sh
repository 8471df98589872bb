#!/usr/bin/env bash
# Batches: 8 one-minute WAVs to MP3 with --jobs 2 against --jobs 1, and 100 five-second WAVs in
# one talwynwav-cli run against a shell loop of the ffmpeg program. Medians of N runs (default 3).
# Usage: bench/batch.sh [N]
source "$(dirname "$0")/lib.sh"
runs=${1:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir minutes shorts
for i in $(seq 1 8); do
  ffmpeg -v error -f lavfi -i "sine=frequency=$((300 + i * 20)):sample_rate=44100:duration=60" -ac 2 "minutes/$i.wav"
done
for i in $(seq 1 100); do
  ffmpeg -v error -f lavfi -i "sine=frequency=$((200 + i)):sample_rate=44100:duration=5" -ac 2 "shorts/$i.wav"
done

one=() two=()
for ((r = 0; r < runs; r++)); do
  rm -rf out; one+=("$(seconds_of "$cli" convert --profile 2900 --jobs 1 -o out minutes/*.wav)")
  rm -rf out; two+=("$(seconds_of "$cli" convert --profile 2900 --jobs 2 -o out minutes/*.wav)")
done
a=$(printf "%s\n" "${one[@]}" | median); b=$(printf "%s\n" "${two[@]}" | median)
printf "8 x 1 min WAV to MP3: --jobs 1 %.3fs, --jobs 2 %.3fs, speed-up %.2f\n" "$a" "$b" "$(echo "scale=4; $a / $b" | bc)"

loop() { for f in shorts/*.wav; do ffmpeg -y -v error -i "$f" -c:a libmp3lame -b:a 192k -ar 48000 -ac 2 "ref/$(basename "$f" .wav).mp3"; done; }
ours=() refs=()
for ((r = 0; r < runs; r++)); do
  rm -rf out; ours+=("$(seconds_of "$cli" convert --profile 2900 -o out shorts/*.wav)")
  rm -rf ref; mkdir ref; refs+=("$(seconds_of loop)")
done
a=$(printf "%s\n" "${ours[@]}" | median); b=$(printf "%s\n" "${refs[@]}" | median)
printf "100 x 5 s WAV to MP3: one run %.3fs, ffmpeg loop %.3fs, %.2fx faster\n" "$a" "$b" "$(echo "scale=4; $b / $a" | bc)"
