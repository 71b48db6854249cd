#!/usr/bin/env bash
# Runs a Windows console program under the project's Wine prefix (ctest's emulator).
source "$(dirname "$0")/wine-env.sh"
"$(dirname "$0")/wine-prefix.sh" >/dev/null
wine "$@" | tr -d '\r'
exit "${PIPESTATUS[0]}"
