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

# The 64-bit build of the same sources under the 64-bit Wine, as the Wine suites run where 32-bit
# programs are slow or missing; ZELVO_BENCH_TREE=win32 measures the shipped 32-bit build instead.
tree="${ZELVO_BENCH_TREE:-win64}"
export ZELVO_JOBS="${ZELVO_JOBS:-2}"
# The cross build packs the skin with the native skinpack tool.
if [ ! -x "$root/build/native/skinpack" ]; then bash "$root/scripts/build.sh" native skinpack >/dev/null; fi
bash "$root/scripts/build.sh" "$tree" bench_skin_win >/dev/null
exe="$root/build/$tree/bench_skin_win.exe"

run() {
  source "$root/scripts/wine-env.sh"
  # The program, its Wine server and the X server talk in round trips; on a virtual machine whose
  # other processor is idle every hand-over to it waits for the processor to wake, which made the
  # same run several times slower (and noisier) on a quiet machine than on a busy one. All three
  # run on one processor (ZELVO_BENCH_CPU, default 0) so both sides pay the same for a round trip.
  if command -v taskset >/dev/null; then
    taskset -cp "${ZELVO_BENCH_CPU:-0}" $$ >/dev/null && echo "pinned to processor ${ZELVO_BENCH_CPU:-0}"
  fi
  trap zelvo_stop EXIT
  zelvo_wine_prefix
  zelvo_start_xvfb
  zelvo_start_wine_services
  echo "tree: build/$tree   load before: $(cut -d' ' -f1-3 /proc/loadavg)"
  wine "$exe" "$rounds" </dev/null
  echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
}
export root tree rounds exe
export -f run
if [ "$tree" = win64 ]; then
  zelvo_without_wine32 bash -c run
else
  bash -c run
fi
