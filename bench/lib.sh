# Shared helpers of the benchmark scripts (sourced).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cli="$root/build/release/talwynwav-cli"
if [[ ! -x "$cli" ]]; then
  cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALWYN_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$root/build/release" --target talwynwav-cli >/dev/null
command -v ffmpeg >/dev/null || { echo "the ffmpeg program is needed as the reference: apt-get install ffmpeg" >&2; exit 1; }

# Seconds one command takes, whole process.
seconds_of() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo "scale=4; ($end - $start) / 1000000000" | bc
}

median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# Builds one of the benchmark programs (they live in the test tree) and prints its path.
bench_program() {
  cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALWYN_BUILD_TESTS=ON >/dev/null
  cmake --build "$root/build/bench" --target "$1" >/dev/null
  echo "$root/build/bench/tests/$1"
}
