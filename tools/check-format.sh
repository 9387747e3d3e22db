#!/usr/bin/env bash
# Every C++ file is formatted with the repository's .clang-format (tables that read better by hand
# sit between clang-format off and on).
#   check-format.sh [REPOSITORY]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
mapfile -t files < <(find src tests tools bench fuzz app \( -name '*.cpp' -o -name '*.h' \) | sort)
clang-format --dry-run -Werror "${files[@]}"
echo "format: ${#files[@]} files as .clang-format has them"
