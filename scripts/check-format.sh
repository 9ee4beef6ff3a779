#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that C++ files follow .clang-format: those changed since the given revision, or all
# tracked ones without an argument. Needs clang-format 14 (Debian 12's), as other versions differ.
# Without a revision it also checks that every tracked source file names its licence.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
    mapfile -t files < <(git diff --name-only --diff-filter=d "$1" -- '*.cpp' '*.h')
elif git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h')
fi
if [ $# -eq 0 ] && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    unlicensed=$(git ls-files '*.cpp' '*.h' '*.in' '*.sh' '*.py' '*.nsi' 'CMakeLists.txt' \
        '*/CMakeLists.txt' .ci/run debian/rules | xargs -r grep -L 'SPDX-License-Identifier: GPL-3.0-or-later' || true)
    if [ -n "$unlicensed" ]; then
        echo "no SPDX-License-Identifier line in:" >&2
        echo "$unlicensed" >&2
        exit 1
    fi
fi
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files checked"
