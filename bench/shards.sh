#!/usr/bin/env bash
# Four shards at once against one process: a 200-file corpus of short WAVs converted to WAV
# (profile 3000) by four local talwynwav-cli processes, each `--shard k/4 --jobs 1`, against one
# process with `--jobs 1`. Whole process, output folder emptied before each run, runs paired
# (shards, single, shards, single, ...) so a drift of the machine's speed hits both alike; prints
# the median seconds of each and the median of the pair ratios (below 1: the shards are faster).
# Usage: bench/shards.sh [N]      (N pairs, default 5)
set -euo pipefail
runs=${1:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALWYN_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target talwynwav-cli talwyn-make-corpus >/dev/null
cli=$build/talwynwav-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/tests/talwyn-make-corpus" "$work/corpus" 200
find "$work/corpus" -type f -name '*.wav' | sort >"$work/list"

shards() {
  local k pids=()
  for k in 0 1 2 3; do
    "$cli" convert --profile 3000 --jobs 1 --shard "$k/4" --from-list "$work/list" -o "$work/out" \
      >/dev/null 2>&1 &
    pids+=($!)
  done
  for k in "${pids[@]}"; do
    wait "$k" || { echo "a shard failed" >&2; exit 1; }
  done
}
single() {
  "$cli" convert --profile 3000 --jobs 1 --from-list "$work/list" -o "$work/out" >/dev/null 2>&1 ||
    { echo "the single process failed" >&2; exit 1; }
}
# Seconds one run of a function takes, from a fresh output folder.
timed() {
  local start end
  rm -rf "$work/out"
  start=$(date +%s%N)
  "$1"
  end=$(date +%s%N)
  (($(find "$work/out" -name '*.wav' | wc -l) == 200)) || { echo "$1: not 200 outputs" >&2; exit 1; }
  echo "scale=4; ($end - $start) / 1000000000" | bc
}
median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

timed shards >/dev/null  # warm-up: page cache and libraries
a=() b=() ratios=()
for ((r = 0; r < runs; r++)); do
  x=$(timed shards)
  y=$(timed single)
  a+=("$x") b+=("$y") ratios+=("$(echo "scale=4; $x / $y" | bc)")
done
printf "200 x 0.3 s WAV to WAV (3000), %d pairs on %d cores: 4 shards %.3fs, 1 process %.3fs, ratio %.2f\n" \
  "$runs" "$(nproc)" "$(printf "%s\n" "${a[@]}" | median)" "$(printf "%s\n" "${b[@]}" | median)" \
  "$(printf "%s\n" "${ratios[@]}" | median)"
