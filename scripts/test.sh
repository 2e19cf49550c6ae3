#!/usr/bin/env bash
# Builds what the test suites run in both trees and runs every suite: the native unit tests and
# corpus replays, then the Windows tests and the end-to-end tests under Wine on a private Xvfb
# display. Ends with CTest's summary and the time each phase took.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
start=$SECONDS

# Runs one phase and notes how long it took, with the processor time its processes used and the
# machine's load when it ended (the summary at the end says where the time went; on a busy
# machine the processor time is the steadier figure).
phases=()
ticks=$(getconf CLK_TCK)
# Processor time (user + system, in ticks) of this shell's finished child processes.
children_ticks() { local stat; read -r stat < "/proc/$$/stat"; set -- ${stat##*) }; echo $(( ${14} + ${15} )); }
phase() {
  local name="$1" began=$SECONDS cpu status=0 load
  shift
  cpu=$(children_ticks)
  "$@" || status=$?
  read -r load _ < /proc/loadavg
  phases+=("$name: $(( SECONDS - began )) s (processor $(( ($(children_ticks) - cpu) / ticks )) s, load $load)")
  return "$status"
}
summary() {
  local line
  {
    for line in "${phases[@]}"; do echo "  $line"; done
    echo "Test command took $(( SECONDS - start )) s"
  } | tee "$root/build/test-duration.txt"
}

phase "set-up (packages)" bash "$root/scripts/setup-deps.sh" || exit 1
mkdir -p "$root/build"

# Only the programs the suites run (target test_programs): no benchmarks, no Windows builds of
# the tools. "bash scripts/build.sh native" builds everything.
echo "== native build"
phase "native build" bash "$root/scripts/build.sh" native test_programs || exit 1
echo "== native tests"
phase "native tests" bash -c 'cd "$1/build/native" && ctest --output-on-failure -j "$(nproc)"' bash "$root"
native_status=$?

echo "== win32 build"
phase "win32 build" bash "$root/scripts/build.sh" win32 test_programs || exit 1

source "$root/scripts/wine-env.sh"
# Where the kernel does not run 32-bit programs itself, setup-deps registers qemu's emulator for
# them; the 32-bit Wine then works but needs minutes per process start. There the same sources are
# also built for 64-bit Windows and those suites run under the 64-bit Wine (ZELVO_WINE_TESTS=1 runs
# the 32-bit ones instead, slowly).
if zelvo_i386_emulated && [ "${ZELVO_WINE_TESTS:-0}" != 1 ]; then
  echo "== win64 build (this kernel runs 32-bit programs only through an emulator: the Windows"
  echo "   suites run on the 64-bit build of the same sources, under the 64-bit Wine)"
  phase "win64 build" bash "$root/scripts/build.sh" win64 test_programs || exit 1
  phase "Windows and end-to-end tests" zelvo_without_wine32 bash "$root/scripts/wine-suites.sh" win64
  win_status=$?
else
  phase "Windows and end-to-end tests" bash "$root/scripts/wine-suites.sh" win32
  win_status=$?
fi

echo "== time per phase"
summary
if [ "$native_status" -ne 0 ]; then
  # The native tree failed: repeat its summary so the closing lines tell the truth.
  echo "== native tests FAILED; their summary:"
  (cd "$root/build/native" && ctest --rerun-failed 2>&1 | tail -n 15)
  exit 1
fi
exit "$win_status"
