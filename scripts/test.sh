#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test through
# CTest.  Exits non-zero on any failure.
#   scripts/test.sh                      (build/test, RelWithDebInfo)
#   LUMORA_SANITIZE=address,undefined scripts/test.sh   (build/asan)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

build_dir=build/test
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ -n "${LUMORA_SANITIZE:-}" ]; then
  build_dir=build/sanitize-${LUMORA_SANITIZE//,/-}
  cmake_args+=("-DLUMORA_SANITIZE=${LUMORA_SANITIZE}")
fi
jobs=$(nproc)

cmake -S . -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" -j "$jobs"
cd "$build_dir"
ctest --output-on-failure -j "$jobs" --timeout 600
