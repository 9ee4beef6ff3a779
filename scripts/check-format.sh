#!/usr/bin/env bash
# Checks that C++ files follow .clang-format: those changed since the given revision, or all
# tracked ones without an argument. Needs clang-format 14 (Debian 12's), as other versions differ.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
    mapfile -t files < <(git diff --name-only --diff-filter=d "$1" -- '*.cpp' '*.h')
elif git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h')
fi
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files checked"
