#!/usr/bin/env bash
# Draws the scenes of scenes.cpp on Win32 (a MinGW build run by Wine) and on
# our Canvas, and compares the two outputs scene by scene.  A tool for people
# checking the Canvas against Win32, not part of CI: it needs the Debian
# packages g++-mingw-w64-x86-64 and wine.
#   tools/gdi-reference/run.sh [BUILD_DIR]     (default: build/test)
# Prints each scene that differs with the number of differing values, then a
# summary.  Exits 1 when a scene differs that is not listed in KNOWN below.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/test}

# Scenes whose difference is understood and left as it is (name prefix|why).
KNOWN='lineto |cosmetic lines: Wine breaks exact ties between two pixels by octant, our LineTo rounds them up
stretchblt columns 0,0,1,1 |Wine StretchBlt keeps the last but one source column in a one-pixel-wide unmirrored shrink; mirrored, and in its StretchDIBits, the last
stretchdibits rows 30,20,-13,-9 |a negative source height on a bottom-up DIB: Wine flips the corners, two rows off the x, x-1, ..., x+extent+1 rule we keep'

for tool in x86_64-w64-mingw32-g++ wine; do
  command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing (apt-get install g++-mingw-w64-x86-64 wine)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
x86_64-w64-mingw32-g++ -O2 -std=c++17 -static -o "$work/scenes.exe" "$here/scenes.cpp" -lgdi32 -luser32
cmake --build "$build" --target gdi-scenes >/dev/null

# A Wine prefix takes half a minute to create, so it is kept between runs.
export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/lumora-gdi-reference/wine}
export WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
DISPLAY='' wine "$work/scenes.exe" 2>/dev/null | tr -d '\r' >"$work/win32.txt"
LUMORA_ROOT="$work/root" "$build/tools/gdi-reference/gdi-scenes" >"$work/canvas.txt"

printf '%s\n' "$KNOWN" >"$work/known.txt"
awk -F': ?' -v known="$work/known.txt" '
  BEGIN {
    while ((getline line < known) > 0) { split(line, k, "|"); prefix[++nk] = k[1]; reason[nk] = k[2] }
  }
  # Values differing between two lines: hex runs count by byte, lists by item.
  function differing(a, b,   na, nb, x, y, i, j, n) {
    na = split(a, x, " "); nb = split(b, y, " "); n = 0
    for (i = 1; i <= (na > nb ? na : nb); ++i) {
      if (x[i] == y[i]) continue
      if (length(x[i]) == length(y[i]) && x[i] ~ /^[0-9a-f]+$/ && length(x[i]) % 2 == 0) {
        for (j = 1; j <= length(x[i]); j += 2) n += substr(x[i], j, 2) != substr(y[i], j, 2)
      } else {
        ++n
      }
    }
    return n
  }
  FNR == NR { name[FNR] = $1; value[FNR] = $2; lines = FNR; next }
  {
    ++compared
    if ($1 != name[FNR]) { print "scene order differs at line " FNR ": " name[FNR] " / " $1; exit 1 }
    if ($2 == value[FNR]) next
    why = ""
    for (i = 1; i <= nk; ++i) if (index($1, prefix[i]) == 1) why = reason[i]
    if (why != "") { ++knownDiffer; knownWhy[why]++; next }
    ++differ
    print "differs: " $1 " (" differing(value[FNR], $2) " values)"
    print "  win32:  " value[FNR]
    print "  canvas: " $2
  }
  END {
    if (compared != lines) { print "scene counts differ: " lines " / " compared; exit 1 }
    for (w in knownWhy) print "known difference in " knownWhy[w] " scenes: " w
    printf "%d scenes compared, %d differ, %d known differences\n", compared, differ, knownDiffer
    exit differ > 0
  }
' "$work/win32.txt" "$work/canvas.txt"
