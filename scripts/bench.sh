#!/bin/sh
# Builds the Release benchmarks in build-release/ and runs them all, then the
# 8-hour soak. Figures go to the terminal and to build-release/bench-results/.
# Usage: scripts/bench.sh [--soak-hours H]   (0: no soak)
# Run it on a quiet machine: the figures are CPU times and latencies.
set -eu
cd "$(dirname "$0")/.."
soak_hours=8
if [ "${1:-}" = "--soak-hours" ] && [ -n "${2:-}" ]; then soak_hours="$2"; fi
scripts/setup.sh
scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release
b=build-release/bench
out=build-release/bench-results
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
run() {
  name=$(basename "$1")
  echo "== $name" >&2
  "$@" 2>&1 | tee "$out/$name.txt"
}
run $b/audio/ffmpeg/bench_ffmpeg_reader   # decode, fire path, information, refusals
run $b/audio/bench_gain
run $b/audio/portaudio/bench_mix          # mix of 26 voices
run $b/audio/portaudio/bench_device       # trigger latency of the player, stall, memory (JACK)
run $b/app/bench_program                  # key and click to the first frame, UI thread (JACK)
run $b/cart/bench_cart
run $b/cart/bench_cart_widget
run $b/cart/bench_diskstall             # one file hanging 5 s under 26 carts
run $b/palette/bench_palette
run $b/palette/bench_palette_load         # palette open
run $b/app/bench_window_geometry
if [ "$soak_hours" != 0 ]; then
  run $b/soak/bench_soak --hours "$soak_hours"
fi
