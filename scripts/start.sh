#!/bin/sh
# Installs what is missing, builds, and starts Quillon.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting Quillon on a virtual screen (xvfb-run)." >&2
  exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" ./build/quillon
fi
exec ./build/quillon
