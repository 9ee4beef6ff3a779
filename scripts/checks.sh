# SPDX-License-Identifier: GPL-3.0-or-later
# What the package and installer checks share; sourced from the checkout's top folder.
# check WHAT COMMAND...: runs the command and counts it; checks_summary prints the closing
# "N passed, M failed" line and fails when a check did.
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok: $what"
        passed=$((passed + 1))
    else
        echo "FAILED: $what"
        failed=$((failed + 1))
    fi
}
checks_summary() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
