#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test
# there, the corpus replays of the fuzz targets and the end-to-end scripts included, in build-asan/
# (the CMake preset "asan").
#
# Any memory error, undefined behaviour or leak fails the test it happens in. Leaks inside system
# libraries that we cannot fix are suppressed in tools/sanitizers/lsan.supp, each with its reason;
# the build hands that file and the other sanitizer options to every test through CTest
# (VANTELO_SANITIZER_ENVIRONMENT in the top-level CMakeLists.txt).
#
# With --threads: the ThreadSanitizer build instead (preset "tsan", in build-tsan/), which builds and
# runs only the tests labelled "threads", those where the show's threads meet; any data race in our
# code fails them (the top-level CMakeLists.txt says why what Qt's own code does is not judged).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=asan
case "${1:-}" in
    "") ;;
    --threads) preset=tsan ;;
    *)
        echo "usage: $0 [--threads]" >&2
        exit 2
        ;;
esac
cmake --preset "$preset"
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset"
