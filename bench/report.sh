#!/bin/sh
# The performance report in one command, from a Release build:
#   every drawing module's step at 1920 x 1080 and 3840 x 2160 with the
#   controls a run starts with and with every control at its highest (the
#   Random module's cost, switching displays, is bench_runtime's frame);
#   the palette tick; the presenter (8-bit frame to the window's pixels);
#   the whole saver's CPU use on Xvfb for each "[D]" display at both sizes.
#   bench/report.sh [-b build/release] [-t seconds per display (60)]
# The heaviest steps of some modules take minutes each (Star's over eight at
# 1080p): the whole report runs for well over an hour.
set -eu
BUILD=build/release
SECONDS_RUN=60
while getopts b:t: option; do
    case $option in
    b) BUILD=$OPTARG ;;
    t) SECONDS_RUN=$OPTARG ;;
    *) exit 2 ;;
    esac
done
for program in bench/modules/bench_modules bench/palette/bench_palette bench/presenter/bench_presenter \
    saver/app/lumora tools/lumora-reg/lumora-reg; do
    [ -x "$BUILD/$program" ] || { echo "$BUILD/$program is missing: build $BUILD first" >&2; exit 2; }
done

echo "== Module steps (mean per step; max_ms the dearest step; drew the share of steps that drew)"
"$BUILD/bench/modules/bench_modules" --benchmark_min_time=1
echo
echo "== Palette tick"
"$BUILD/bench/palette/bench_palette"
echo
echo "== Presenter"
"$BUILD/bench/presenter/bench_presenter"
echo
echo "== The saver on Xvfb, $SECONDS_RUN s per display"
for size in 1920x1080 3840x2160; do
    sh "$(dirname "$0")/runtime/cpu_usage.sh" -l "$BUILD/saver/app/lumora" -r "$BUILD/tools/lumora-reg/lumora-reg" \
        -s "$size" -t "$SECONDS_RUN"
done
