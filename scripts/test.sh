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
# Where the kernel does not run 32-bit programs itself, setup-deps registers qemu's emulator for
# them; the 32-bit Wine then works but needs minutes per process start. There the same sources are
# also built for 64-bit Windows and those suites run under the 64-bit Wine (ZELVO_WINE_TESTS=1 runs
# the 32-bit ones instead, slowly).
if zelvo_i386_emulated && [ "${ZELVO_WINE_TESTS:-0}" != 1 ]; then
  echo "== win64 build (this kernel runs 32-bit programs only through an emulator: the Windows"
  echo "   suites run on the 64-bit build of the same sources, under the 64-bit Wine)"
  bash "$root/scripts/build.sh" win64 || exit 1
  zelvo_without_wine32 bash "$root/scripts/wine-suites.sh" win64
  win_status=$?
else
  bash "$root/scripts/wine-suites.sh" win32
  win_status=$?
fi

echo "Test command took $(( $(date +%s) - start )) s" > "$root/build/test-duration.txt"
if [ "$native_status" -ne 0 ]; then
  # The native tree failed: repeat its summary so the closing lines tell the truth.
  echo "== native tests FAILED; their summary:"
  (cd "$root/build/native" && ctest --rerun-failed 2>&1 | tail -n 15)
  exit 1
fi
exit "$win_status"
