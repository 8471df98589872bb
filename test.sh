#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless; then builds and runs them again
# under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALWYN_BUILD_TESTS=ON
cmake --build build/test
ctest --test-dir build/test --output-on-failure --timeout 600 -j2

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALWYN_BUILD_TESTS=ON \
  -DTALWYN_SANITIZE=address
cmake --build build/asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure --timeout 600 -j2

# The converter's threads under ThreadSanitizer.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALWYN_BUILD_TESTS=ON \
  -DTALWYN_SANITIZE=thread
cmake --build build/tsan --target engine_tests
TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/engine_tests --gtest_filter='Converter*'
