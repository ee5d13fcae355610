#!/bin/sh
# CPU use of `lumora /s` on a private Xvfb: utime + stime of the saver and of
# Xvfb from /proc/<pid>/stat over a run, each as a share of one core.  Every
# display given is run in turn; without one, every "[D]" display of a fresh
# settings root.
#   bench/runtime/cpu_usage.sh [-l path/to/lumora] [-r path/to/lumora-reg] [-s WxH] [-t seconds] [display...]
set -eu
LUMORA=build/release/saver/app/lumora
REG=build/release/tools/lumora-reg/lumora-reg
SIZE=1920x1080
SECONDS_RUN=60
while getopts l:r:s:t: option; do
    case $option in
    l) LUMORA=$OPTARG ;;
    r) REG=$OPTARG ;;
    s) SIZE=$OPTARG ;;
    t) SECONDS_RUN=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 2; }

ROOT=$(mktemp -d /tmp/lumora-cpu-XXXXXX)
# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 "${SIZE}x24" -nolisten tcp -noreset 3>"$ROOT/display" >/dev/null 2>&1 &
XVFB=$!
cleanup() { kill "$XVFB" 2>/dev/null || true; rm -rf "$ROOT"; }
trap cleanup EXIT
i=0
while [ ! -s "$ROOT/display" ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i + 1)); done
N=$(cat "$ROOT/display")
export LUMORA_ROOT="$ROOT/root" DISPLAY=":$N" QT_QPA_PLATFORM=xcb
mkdir -p "$LUMORA_ROOT"

# A first render creates the first-run displays.
"$LUMORA" --render "$ROOT/first.png" --size 8x8 --seconds 1 >/dev/null
if [ $# -eq 0 ]; then
    set -- "[D] Bezier" "[D] Cyclic" "[D] Pattern" "[D] Plasma" "[D] Polygon" "[D] Sphere" \
        "[D] Stain" "[D] Star" "[D] Vortex"
fi

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
HZ=$(getconf CLK_TCK)
for display in "$@"; do
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Lumora]\n"Active"="%s"\n' "$display" |
        "$REG" import - >/dev/null
    "$LUMORA" /s &
    PID=$!
    sleep 3  # start-up is not part of the figure
    START=$(ticks $PID)
    XSTART=$(ticks $XVFB)
    sleep "$SECONDS_RUN"
    END=$(ticks $PID)
    XEND=$(ticks $XVFB)
    kill -TERM "$PID"
    wait "$PID" || true
    awk -v t=$((END - START)) -v x=$((XEND - XSTART)) -v hz="$HZ" -v s="$SECONDS_RUN" -v d="$display" \
        -v size="$SIZE" 'BEGIN { printf "%-12s at %s: saver %5.1f %%, Xvfb %5.1f %% of one core over %d s\n",
                               d, size, 100 * t / hz / s, 100 * x / hz / s, s }'
done
