#!/bin/sh
# Installs what is missing, builds, and runs every test.
# With --sanitize: the same under AddressSanitizer and UndefinedBehaviorSanitizer,
# in a build folder of its own.
set -eu
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  scripts/build.sh "$dir" -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export LSAN_OPTIONS="suppressions=$(pwd)/tests/lsan.supp"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  scripts/build.sh "$dir"
fi
cd "$dir"
ctest --output-on-failure -j2 --timeout 600
