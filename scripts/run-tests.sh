#!/usr/bin/env bash
# Builds everything in one build tree and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build_dir=${TRELVANE_BUILD_DIR:-build}
jobs=${TRELVANE_JOBS:-$(nproc)}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build_dir" -j "$jobs"
ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
