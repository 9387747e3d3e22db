#!/usr/bin/env bash
# The layers of src/ depend only downwards: a file may include the headers of its own folder and
# of the folders below it, never of a folder beside or above it. The pixel layer (imaging) and the
# base do no file, database or window work. The layer edits (adjust) sit below the library, tool
# and hair windows that all drive them.
#   check-layers.sh [SRC]
set -euo pipefail
src=${1:-$(dirname "$0")/../src}
declare -A rank=([base]=0 [imaging]=1 [platform]=2 [compositor]=3 [persistence]=4 [adjust]=4
                 [library]=5 [retouch]=5 [hair]=5 [photo]=5 [print]=5 [shell]=6)
status=0
while IFS= read -r file; do
    rel=${file#"$src"/}
    layer=${rel%%/*}
    if [[ ! -v rank[$layer] ]]; then
        echo "$rel: the folder $layer/ has no place among the layers"
        status=1
        continue
    fi
    while IFS=: read -r line target; do
        [[ -v rank[$target] ]] || continue
        if [[ $target != "$layer" && ${rank[$target]} -ge ${rank[$layer]} ]]; then
            echo "$rel:$line: includes $target/, which is not below $layer/"
            status=1
        fi
    done < <(grep -n '^#include "[a-z]*/' "$file" | sed -E 's/^([0-9]+):#include "([a-z]+)\/.*/\1:\2/' || true)
    if [[ $layer == base || $layer == imaging ]]; then
        if grep -n -E '^#include <(QFile|QSaveFile|QDir|QFileInfo|QSql|QtSql|QWidget|QtWidgets|QApplication)' "$file"; then
            echo "$rel: $layer/ does no file, database or window work"
            status=1
        fi
    fi
done < <(find "$src" \( -name '*.h' -o -name '*.cpp' \) | sort)
[[ $status == 0 ]] && echo "layers: every include points downwards"
exit $status
