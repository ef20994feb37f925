#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test
# there, the corpus replays of the fuzz targets and the end-to-end scripts included.
# Usage: tools/run-sanitized-tests.sh [build-folder]   (default build-asan)
#
# Any memory error, undefined behaviour or leak fails the test it happens in. Leaks inside system
# libraries that we cannot fix are suppressed in tools/sanitizers/lsan.supp, each with its reason;
# the build hands that file and the other sanitizer options to every test through CTest
# (VANTELO_SANITIZER_ENVIRONMENT in the top-level CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-asan}"
generator=()
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build/CMakeCache.txt" ]; then generator=(-G Ninja); fi
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTELO_SANITIZE=ON
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
