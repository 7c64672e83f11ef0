#!/bin/sh
# Runs a test program on a virtual X screen, where drags are real. Exits 77
# (skipped) when xvfb-run or xdotool is missing or no X server will start.
SCREEN="-noreset -screen 0 1280x1024x24"
command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run not found: skipped"; exit 77; }
command -v xdotool >/dev/null 2>&1 || { echo "xdotool not found: skipped"; exit 77; }
if ! xvfb-run -a -s "$SCREEN" true >/dev/null 2>&1; then
  echo "no X server could be started: skipped"
  exit 77
fi
exec xvfb-run -a -s "$SCREEN" env QT_QPA_PLATFORM=xcb "$@"
