#!/bin/bash
# Builds the Debian package vesk_<version>_<arch>.deb into build-deb/.
# The tree is configured for the prefix /usr (the program in /usr/games, its
# private libraries in /usr/lib/<multiarch>/vesk) with the compiler and linker
# flags that dpkg-buildflags gives package builds, hardening included.
# BUILD_DIR (default build-deb), JOBS and CMAKE_ARGS (extra configure options,
# e.g. -DCMAKE_CXX_COMPILER_LAUNCHER=ccache) adjust it.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$src/build-deb}
jobs=${JOBS:-$(nproc)}

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

# shellcheck disable=SC2086 # CMAKE_ARGS is a list of options
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" \
    -DVESK_TESTS=OFF -DVESK_BENCH=OFF ${CMAKE_ARGS:-}
cmake --build "$build" -j "$jobs"
rm -f "$build"/*.deb
(cd "$build" && cpack --config CPackConfig.cmake)
ls -l "$build"/*.deb
