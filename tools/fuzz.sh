#!/usr/bin/env bash
# Runs one libFuzzer target against its corpus. Usage:
#   tools/fuzz.sh TARGET [SECONDS] [libFuzzer options...]
# TARGET is numbers, sizetext, slidelist or picture; SECONDS defaults to 600.
# The seed corpus in fuzz/corpus/TARGET is never written: the run grows a working copy in
# build-fuzz/corpus/TARGET, and whatever crashes, leaks or runs out of time or memory lands in
# build-fuzz/findings/TARGET. Add each finding, once fixed, to fuzz/corpus/TARGET under a name
# that says what it was, so the ordinary build replays it as a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: tools/fuzz.sh numbers|sizetext|slidelist|picture [seconds] [libFuzzer options]}"
seconds="${2:-600}"
shift $(( $# >= 2 ? 2 : 1 ))
build=build-fuzz

if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVANTELO_SANITIZE=ON -DVANTELO_FUZZ=ON -DVANTELO_BUILD_TESTS=OFF
fi
cmake --build "$build" -j2 --target "fuzz_$target"

corpus="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$corpus" "$findings"

# Pictures may legitimately take a few hundred megabytes and some tenths of a second; anything
# beyond the bounds in PictureFile.h is a finding.
limits=(-rss_limit_mb=2048 -timeout=10)
if [ "$target" = picture ]; then limits=(-rss_limit_mb=1024 -timeout=2); fi

export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=0"
export LSAN_OPTIONS="suppressions=$PWD/tools/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
dictionary=()
if [ -f "fuzz/$target.dict" ]; then dictionary=(-dict="fuzz/$target.dict"); fi
exec "$build/fuzz_$target" "$corpus" "fuzz/corpus/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/" "${limits[@]}" "${dictionary[@]}" "$@"
