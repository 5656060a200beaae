#!/usr/bin/env bash
# Formats every C++ source of the repository with .clang-format; with --check, changes nothing and
# fails listing the files whose layout differs. CLANG_FORMAT names another clang-format.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${CLANG_FORMAT:-clang-format}
command -v "$tool" >/dev/null || { echo "format.sh: $tool not found (package clang-format)" >&2; exit 2; }
cd "$root"
if [ -d .git ] || [ -f .git ]; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
case "${1:-}" in
--check)
    bad=()
    for file in "${files[@]}"; do
        "$tool" --style=file --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
    done
    if ((${#bad[@]})); then
        echo "Not formatted (run tools/format.sh): ${bad[*]}" >&2
        exit 1
    fi
    ;;
"") "$tool" --style=file -i "${files[@]}" ;;
*) echo "usage: format.sh [--check]" >&2; exit 2 ;;
esac
