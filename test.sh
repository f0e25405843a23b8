#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless.
# Environment: BUILD_DIR (default build), JOBS (default: number of cores),
# CMAKE_ARGS (extra configure options).
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh
build_dir=${BUILD_DIR:-build}
jobs=${JOBS:-$(nproc)}

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$build_dir" -j "$jobs"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j "$jobs" --timeout 600
