#!/usr/bin/env bash
# The installation-data generator writes the same bytes on every run: two runs into fresh folders
# must not differ in any file.
#   deterministic.sh GENERATOR
set -euo pipefail
gen=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$gen" "$tmp/a" > /dev/null
"$gen" "$tmp/b" > /dev/null
diff -r "$tmp/a" "$tmp/b"
echo "two runs wrote the same $(find "$tmp/a" -type f | wc -l) files"
