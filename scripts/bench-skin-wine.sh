#!/usr/bin/env bash
# The skin engine's speed on real windows under Wine: skinned windows against the same windows
# unskinned (the program's skin component with Active off), in one process, on a private Xvfb.
#
#   scripts/bench-skin-wine.sh [ROUNDS]     default 21 paired rounds (at least 3; three times as many
#                                           for the start, which takes a few milliseconds)
#   ZELVO_BENCH_TREE=win32 scripts/bench-skin-wine.sh   the 32-bit build (needs 32-bit Wine)
#
# Builds bench_skin_win.exe in build/win64 (or build/win32) and prints its table: start to first
# skinned paint of the main window, 100 resizes with a paint each, a full repaint of the
# registration form, and the paint messages each window gets while the mouse crosses a skinned
# button; and the start once more for a whole process, from CreateProcess to the painted main
# window. All figures are wall-clock times (in-process but for the whole-process start), medians of
# paired rounds in alternating order; the machine's load is printed before and after.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-21}"
source "$root/scripts/wine-env.sh"
source "$root/scripts/bench-session.sh"

# The 64-bit build of the same sources under the 64-bit Wine, as the Wine suites run where 32-bit
# programs are slow or missing; ZELVO_BENCH_TREE=win32 measures the shipped 32-bit build instead.
tree="${ZELVO_BENCH_TREE:-win64}"
zelvo_bench_build "$tree" bench_skin_win
exe="$root/build/$tree/bench_skin_win.exe"

run() {
  echo "tree: build/$tree   load before: $(cut -d' ' -f1-3 /proc/loadavg)"
  wine "$exe" "$rounds" </dev/null
  echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
}
export tree rounds exe
export -f run
zelvo_bench_session "$tree" run
