#!/usr/bin/env bash
# Installs what is missing, builds and starts the game.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
cmake --build "$build_dir" -j "$(nproc)"

app="$build_dir/app/VeskApp"
# Ports below 1024 need root or the bind capability; pick an ordinary one otherwise.
if [ "$(id -u)" -ne 0 ] && [ -z "${VESK_PORT:-}" ]; then
    export VESK_PORT=2500
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # No display: one whole headless game, the dealer with three computer partners.
    export QT_QPA_PLATFORM=offscreen
    exec "$app" --name Player --deal --seat 1 --partner 2 --partner 3 --partner 4 \
        --start --autoplay --pace 0 --exit-after-game "$@"
fi
exec "$app" "$@"
