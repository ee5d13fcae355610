#!/usr/bin/env bash
# Builds Release and starts the main program with the arguments given.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh >/dev/null
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DLUMORA_BENCH=OFF >/dev/null
cmake --build build/release -j "$(nproc)" >/dev/null
if [ -x build/release/saver/lumora ]; then
  exec build/release/saver/lumora "$@"
fi
exec build/release/tools/lumora-reg/lumora-reg "${@:-session}"
