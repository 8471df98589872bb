#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts the window program.
# "./run.sh cli ARGS..." runs the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALWYN_BUILD_TESTS=OFF >/dev/null
cmake --build build/release >&2
if [[ "${1:-}" == "cli" ]]; then
  shift
  exec build/release/talwynwav-cli "$@"
fi
exec build/release/talwynwav "$@"
