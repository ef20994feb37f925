#!/usr/bin/env bash
# Builds Personal Vantelo and runs every test, in build/ (the CMake preset "default").
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default
cmake --build --preset default -j"$(nproc)"
ctest --preset default
