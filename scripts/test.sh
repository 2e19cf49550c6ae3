#!/usr/bin/env bash
# Builds both trees and runs every test suite: the native unit tests and corpus replays, then the
# Windows tests and the end-to-end tests under Wine on a private Xvfb display.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
start=$(date +%s)
bash "$root/scripts/setup-deps.sh" || exit 1

echo "== native build"
bash "$root/scripts/build.sh" native || exit 1
echo "== native tests"
(cd "$root/build/native" && ctest --output-on-failure -j "$(nproc)")
native_status=$?

echo "== win32 build"
bash "$root/scripts/build.sh" win32 || exit 1

source "$root/scripts/wine-env.sh"
trap zelvo_stop EXIT
zelvo_wine_prefix
zelvo_start_xvfb || exit 1
zelvo_start_wine_services
echo "== win32 and end-to-end tests (Wine, display $DISPLAY)"
(cd "$root/build/win32" && ctest --output-on-failure)
win_status=$?

echo "Test command took $(( $(date +%s) - start )) s" > "$root/build/test-duration.txt"
if [ "$native_status" -ne 0 ]; then
  # The native tree failed: repeat its summary so the closing lines tell the truth.
  echo "== native tests FAILED; their summary:"
  (cd "$root/build/native" && ctest --rerun-failed 2>&1 | tail -n 15)
  exit 1
fi
exit "$win_status"
