#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the project's version, as the project() line of CMakeLists.txt gives it: the one place it
# is set, which the packages, the installer and the release notes follow.
set -euo pipefail
cd "$(dirname "$0")/.."
sed -nE 's/^project\(Brinemoor VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt
