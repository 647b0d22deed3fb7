#!/usr/bin/env bash
# Builds and runs every test: a normal build, then the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
JOBS=${JOBS:-2}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$JOBS"
(cd build && ctest -j"$JOBS" --output-on-failure --timeout 900)

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLOMAR_SANITIZE=ON
cmake --build build-asan -j"$JOBS"
# The sanitizer build runs the unit and window tests; the end-to-end,
# fuzzing and long reliability suites run once, in the normal build.
(cd build-asan && ctest -j"$JOBS" --output-on-failure --timeout 900 -LE 'e2e|fuzz|slow')
