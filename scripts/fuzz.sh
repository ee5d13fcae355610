#!/usr/bin/env bash
# Fuzzes one reader for a while and says how many inputs it ran.
#   scripts/fuzz.sh NAME SECONDS [libFuzzer options...]
# NAME is a harness of fuzz/CMakeLists.txt: bmp, metafile, jpeg, pcx, qt,
# settings_file, regedit, palette_file or spectrum_frame.  The harness
# builds with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# into build/fuzz.  It works on build/fuzz/corpus-NAME, seeded from the
# seeds in fuzz/corpus, so what it finds carries over to the next run and
# the seeds stay as they are.  A finding is written to build/fuzz/findings.
# The exit status is the fuzzer's: 0 when it ran out its time with no finding.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$#" -lt 2 ]; then
  sed -n '2,3p' "$0" | sed 's/^# //' >&2
  exit 2
fi
name=$1
seconds=$2
shift 2

options=()
case $name in
  bmp | metafile | jpeg | pcx | qt | regedit) seeds=$name ;;
  settings_file) seeds=settings ;;
  palette_file) seeds=pal ;;
  # Its modules keep what they allocate from one input to the next.
  spectrum_frame) seeds=spectrum; options+=(-detect_leaks=0) ;;
  *) echo "fuzz: no harness named '$name'" >&2; exit 2 ;;
esac

scripts/deps.sh >/dev/null
cmake -S fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target "fuzz_$name" >/dev/null

corpus=build/fuzz/corpus-$name
if [ ! -d "$corpus" ]; then cp -r "fuzz/corpus/$seeds" "$corpus"; fi
mkdir -p build/fuzz/findings build/fuzz/logs
# The process id keeps apart the logs of runs started in the same second.
log=build/fuzz/logs/$name-$(date +%Y%m%d-%H%M%S)-$$.log

status=0
"build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix=build/fuzz/findings/ "${options[@]}" "$@" "$corpus" >"$log" 2>&1 || status=$?
final() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
echo "fuzz_$name: $(final number_of_executed_units) inputs at $(final average_exec_per_sec) a second, exit status $status; log $log"
exit "$status"
