#!/bin/sh
# Configures and builds into a build folder (default: build).
# Usage: scripts/build.sh [build-dir] [extra cmake options...]
set -eu
cd "$(dirname "$0")/.."
dir="${1:-build}"
[ $# -gt 0 ] && shift
cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
cmake --build "$dir"
