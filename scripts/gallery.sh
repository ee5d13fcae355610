#!/usr/bin/env bash
# Renders every saved display that uses a drawing module into a PNG and a
# short animated GIF with `lumora --render` (fixed size, time and seed, so the
# same build gives the same pictures).  A GIF is cut shorter until it is under
# 1 MB, so the repository stays small.  The displays come from a fresh
# platform root, where the saver creates its first-run displays, unless
# GALLERY_ROOT names another root.
#   scripts/gallery.sh [OUT_DIR]              (default docs/gallery)
# Environment: GALLERY_BUILD (build folder, default build/release),
# GALLERY_ROOT, GALLERY_SIZE (640x480), GALLERY_SECONDS (10), GALLERY_SEED (1),
# GALLERY_GIF_SIZE (320x240), GALLERY_GIF_SECONDS (4), GALLERY_GIF_FPS (15).
set -euo pipefail
cd "$(dirname "$0")/.."

out=${1:-docs/gallery}
build=${GALLERY_BUILD:-build/release}
size=${GALLERY_SIZE:-640x480}
seconds=${GALLERY_SECONDS:-10}
seed=${GALLERY_SEED:-1}
gif_size=${GALLERY_GIF_SIZE:-320x240}
gif_seconds=${GALLERY_GIF_SECONDS:-4}
gif_fps=${GALLERY_GIF_FPS:-15}
gif_limit=$((1024 * 1024))
# The drawing modules built so far; add each module as it lands.
drawing_modules=(Bezier Cyclic Pattern Plasma Polygon Sphere Stain Star Vortex Effect)
saved='HKCU\Control Panel\Screen Saver.Lumora\Saved'

if [ ! -d "$build" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DLUMORA_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target lumora lumora-reg -j2 >/dev/null
lumora="$build/saver/app/lumora"
reg="$build/tools/lumora-reg/lumora-reg"
mkdir -p "$out"
if [ -n "${GALLERY_ROOT:-}" ]; then
  export LUMORA_ROOT="$GALLERY_ROOT"
else
  LUMORA_ROOT=$(mktemp -d)
  export LUMORA_ROOT
  trap 'rm -rf "$LUMORA_ROOT"' EXIT
fi

# Sub-keys of a key, one a line: the listing ends their names with "\";
# value lines start with a quote or "@".
subkeys() {
  "$reg" query "$1" 2>/dev/null | sed -n '/^["@]/!s/\\$//p'
}

if [ -z "$(subkeys "$saved")" ]; then
  "$lumora" --render "$out/.first-run.png" --size 64x48 --seconds 1 --seed "$seed" >/dev/null
  rm -f "$out/.first-run.png"
fi

count=0
while IFS= read -r display; do
  modules=$(subkeys "$saved\\$display\\Modules")
  uses_drawing=0
  for m in "${drawing_modules[@]}"; do
    if grep -qix "$m" <<<"$modules"; then uses_drawing=1; fi
  done
  [ "$uses_drawing" -eq 1 ] || continue
  base="$out/$(tr -c 'A-Za-z0-9._-' '_' <<<"$display" | sed 's/_$//')"
  echo "gallery: $display -> $base.png, $base.gif"
  # A seed of its own for each display, so the gallery shows several palettes.
  display_seed=$((seed + count))
  "$lumora" --render "$base.png" --size "$size" --seconds "$seconds" --display "$display" --seed "$display_seed" \
    >/dev/null
  for ((s = gif_seconds; s >= 1; s--)); do
    "$lumora" --render "$base.gif" --size "$gif_size" --seconds "$s" --fps "$gif_fps" --display "$display" \
      --seed "$display_seed" >/dev/null
    [ "$(stat -c %s "$base.gif")" -lt "$gif_limit" ] && break
  done
  count=$((count + 1))
done < <(subkeys "$saved")

echo "gallery: $count picture(s) in $out"
