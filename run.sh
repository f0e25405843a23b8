#!/usr/bin/env bash
# Installs what is missing, builds and starts the game.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$build_dir" -j "$(nproc)"

app="$build_dir/app/VeskApp"
if [ ! -x "$app" ]; then
    echo "The game program is not built yet; the engine and its tests are (./test.sh)." >&2
    exit 1
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # No display: one whole headless game, the dealer with three computer partners.
    export QT_QPA_PLATFORM=offscreen
    exec "$app" --name Player --deal --seat 1 --partner 2 --partner 3 --partner 4 \
        --start --autoplay --pace 0 --exit-after-game "$@"
fi
exec "$app" "$@"
