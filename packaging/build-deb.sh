#!/bin/bash
# Builds the Debian package vesk_<version>_<arch>.deb into build-deb/.
# The tree is configured for the prefix /usr, so that the libraries go to
# /usr/lib/<multiarch>, where the loader finds them for the program even with
# its file capability (see packaging/CMakeLists.txt).
# BUILD_DIR (default build-deb) and JOBS adjust it.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$src/build-deb}
jobs=${JOBS:-$(nproc)}
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVESK_TESTS=OFF -DVESK_BENCH=OFF
cmake --build "$build" -j "$jobs"
(cd "$build" && cpack --config CPackConfig.cmake)
ls -l "$build"/*.deb
