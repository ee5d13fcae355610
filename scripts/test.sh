#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test through
# CTest.  Exits non-zero on any failure.
#   scripts/test.sh                      (build/test, RelWithDebInfo)
#   LUMORA_SANITIZE=address,undefined scripts/test.sh   (build/sanitize-address-undefined)
#   LUMORA_TEST_PROGRAMS="test_saver_palette ..." scripts/test.sh
#                                        (only those test programs, built and run)
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

build_args=()
ctest_args=()
if [ -n "${LUMORA_TEST_PROGRAMS:-}" ]; then
  read -r -a programs <<< "$LUMORA_TEST_PROGRAMS"
  build_args=(--target "${programs[@]}")
  labels=$(IFS='|'; echo "${programs[*]}")
  ctest_args=(-L "^(${labels})\$")
fi

cmake -S . -B "$build_dir" "${cmake_args[@]}"
cmake --build "$build_dir" -j "$jobs" "${build_args[@]}"
cd "$build_dir"
ctest --output-on-failure -j "$jobs" --timeout 600 "${ctest_args[@]}"
