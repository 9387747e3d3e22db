#!/usr/bin/env bash
# Starts the real program on a virtual display and takes screenshots until the start screen is
# complete: the composed portrait, the welcome window beside it and the tool strip (or 40 s
# pass). The last screenshot stays in the output folder as welcome.png.
set -euo pipefail
exe=$1 check=$2 out=$3
mkdir -p "$out"
export ASAN_OPTIONS=detect_leaks=0
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  exe=$1 check=$2 out=$3 folder=$(dirname "$1")
  "$exe" > "$out/welcome.log" 2>&1 & pid=$!
  status=1
  for i in $(seq 1 80); do
    sleep 0.5
    kill -0 $pid 2>/dev/null || { echo "the program ended early:"; cat "$out/welcome.log"; break; }
    if "$check" "$out/welcome.png" "$folder/ziyuan/huaban.bmp" "$folder"; then status=0; break; fi
  done
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  exit $status' _ "$exe" "$check" "$out"
