#!/usr/bin/env bash
# Starts the real program on a virtual display and takes screenshots until the check passes (or
# 40 s pass); the last screenshot stays in the output folder as <name>.png.
#   screenshot.sh EXE CHECK OUT NAME          the composed sample portrait is on screen
#   screenshot.sh EXE CHECK OUT NAME --start  also the welcome window, tool strip and background
set -euo pipefail
exe=$1 check=$2 out=$3 name=$4 mode=${5:-}
mkdir -p "$out"
export ASAN_OPTIONS=detect_leaks=0
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  exe=$1 check=$2 out=$3 name=$4 mode=$5 folder=$(dirname "$1")
  extra=(); [ "$mode" = --start ] && extra=("$folder")
  "$exe" > "$out/$name.log" 2>&1 & pid=$!
  status=1
  for i in $(seq 1 80); do
    sleep 0.5
    kill -0 $pid 2>/dev/null || { echo "the program ended early:"; cat "$out/$name.log"; break; }
    if "$check" "$out/$name.png" "$folder/ziyuan/huaban.bmp" "${extra[@]}"; then status=0; break; fi
  done
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  exit $status' _ "$exe" "$check" "$out" "$name" "$mode"
