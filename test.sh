#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALWYN_BUILD_TESTS=ON
cmake --build build/test
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build/test --output-on-failure --timeout 600 -j2
