#!/usr/bin/env bash
# Builds the program and runs it in the directory that holds its data files.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/bootstrap.sh
cmake --preset default
cmake --build --preset default -j"$(nproc)" --target grass
bin=build/default/bin
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
  cd "$bin" && exec ./grass
fi
echo "grass: no display is available here; the program needs one to show its window."
echo "grass: run it on a desktop (or under Xvfb) with: (cd $bin && ./grass)"
