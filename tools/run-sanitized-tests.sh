#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test
# there, the corpus replays of the fuzz targets and the end-to-end scripts included, in build-asan/
# (the CMake preset "asan").
#
# Any memory error, undefined behaviour or leak fails the test it happens in. Leaks inside system
# libraries that we cannot fix are suppressed in tools/sanitizers/lsan.supp, each with its reason;
# the build hands that file and the other sanitizer options to every test through CTest
# (VANTELO_SANITIZER_ENVIRONMENT in the top-level CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan
