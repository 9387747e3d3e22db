#!/usr/bin/env bash
# The installation-data generator writes the same bytes on every run: two runs into fresh folders
# must not differ in any file. A rerun into a used folder removes what an earlier run wrote and this
# one no longer does, and nothing else: not a stylist's own file, not a path that leaves the folder.
#   deterministic.sh GENERATOR
set -euo pipefail
gen=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$gen" "$tmp/a" > /dev/null
mkdir -p "$tmp/outside"
touch "$tmp/a/faxing/dz999.tta" "$tmp/a/faxing/own.tta" "$tmp/outside/keep.tta"
printf 'faxing/dz999.tta\n../outside/keep.tta\n%s/outside/keep.tta\n' "$tmp" >> "$tmp/a/.install-data-files"
"$gen" "$tmp/a" > /dev/null
fail=0
[[ ! -e "$tmp/a/faxing/dz999.tta" ]] || { echo "stale item from an earlier run was kept"; fail=1; }
[[ -e "$tmp/a/faxing/own.tta" ]] || { echo "a file the generator never wrote was removed"; fail=1; }
[[ -e "$tmp/outside/keep.tta" ]] || { echo "a listed path outside the folder was removed"; fail=1; }
rm -f "$tmp/a/faxing/own.tta"
"$gen" "$tmp/b" > /dev/null
diff -r "$tmp/a" "$tmp/b" || fail=1
[[ $fail == 0 ]] || exit 1
echo "two runs wrote the same $(find "$tmp/b" -type f | wc -l) files; a rerun removed only its own stale file"
