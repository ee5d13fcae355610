#!/bin/sh
# CPU use of `lumora /s` on a private Xvfb at 1920 x 1080 over 10 seconds with
# the default display of a fresh settings root: utime + stime of the process
# from /proc/<pid>/stat, as a share of one core.
#   bench/runtime/cpu_usage.sh [path/to/lumora] [seconds]
set -eu
LUMORA=${1:-build/runtime/saver/app/lumora}
SECONDS_RUN=${2:-10}
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 2; }

ROOT=$(mktemp -d /tmp/lumora-cpu-XXXXXX)
# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$ROOT/display" >/dev/null 2>&1 &
XVFB=$!
cleanup() { kill "$XVFB" 2>/dev/null || true; rm -rf "$ROOT"; }
trap cleanup EXIT
i=0
while [ ! -s "$ROOT/display" ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i + 1)); done
N=$(cat "$ROOT/display")

LUMORA_ROOT=$ROOT DISPLAY=:$N QT_QPA_PLATFORM=xcb "$LUMORA" /s &
PID=$!
sleep 2  # start-up is not part of the figure
ticks() { awk '{ print $14 + $15 }' "/proc/$PID/stat"; }
START=$(ticks)
sleep "$SECONDS_RUN"
END=$(ticks)
kill -TERM "$PID"
wait "$PID" || true
HZ=$(getconf CLK_TCK)
awk -v t=$((END - START)) -v hz="$HZ" -v s="$SECONDS_RUN" \
    'BEGIN { printf "lumora /s at 1920x1080: %.1f %% of one core over %d s\n", 100 * t / hz / s, s }'
