#!/usr/bin/env bash
# Runs the desktop test program on its own X server under a window manager (openbox), at the
# font resolution and scale given by QT_FONT_DPI and QT_SCALE_FACTOR.
# Usage: desktop.sh TEST_PROGRAM
set -euo pipefail
program="$1"
display=":$((50 + RANDOM % 400))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
QT_QPA_PLATFORM=xcb "$program"
