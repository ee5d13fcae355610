#!/usr/bin/env bash
# Builds Release and starts Lumora.
#   scripts/run.sh            full screen when a display is there (DISPLAY or
#                             WAYLAND_DISPLAY), otherwise ten seconds of the
#                             active display rendered to a PNG, whose path it prints
#   scripts/run.sh ARGS...    the program with those arguments (/s, /p ID, /c,
#                             --render FILE.png --size WxH --seconds S ...)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh >/dev/null
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DLUMORA_BENCH=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target lumora lumora-reg >/dev/null
lumora=build/release/saver/app/lumora
if [ "$#" -gt 0 ]; then exec "$lumora" "$@"; fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then exec "$lumora" /s; fi
exec "$lumora" --render build/lumora-preview.png --size 1024x768 --seconds 10
