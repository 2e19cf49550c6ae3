#!/usr/bin/env bash
# Runs the Windows test suites and the end-to-end tests of one cross-built tree under Wine, on a
# private Xvfb display, and ends with CTest's summary. Usage: wine-suites.sh win32|win64
# (win64 expects ZELVO_WINE_BITS=64, which zelvo_without_wine32 sets).
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tree="${1:?usage: wine-suites.sh win32|win64}"
source "$root/scripts/wine-env.sh"
trap zelvo_stop EXIT
zelvo_wine_prefix
zelvo_start_xvfb || exit 1
zelvo_start_wine_services
zelvo_warm_up "$root/build/$tree/wine_warmup.exe"
echo "== Windows and end-to-end tests of build/$tree (Wine $WINEARCH, display $DISPLAY)"
cd "$root/build/$tree" && ctest --output-on-failure
