# Sourced by the Wine benchmark scripts (after scripts/wine-env.sh): the build and the session they
# measure in.

# Builds targets of a cross-built tree (win32 or win64), two jobs unless ZELVO_JOBS says otherwise.
#   zelvo_bench_build TREE TARGET...
zelvo_bench_build() {
  local tree="$1"
  shift
  export ZELVO_JOBS="${ZELVO_JOBS:-2}"
  # The cross build packs the skin with the native skinpack tool.
  if [ ! -x "$ZELVO_ROOT/build/native/skinpack" ]; then bash "$ZELVO_ROOT/scripts/build.sh" native skinpack >/dev/null; fi
  bash "$ZELVO_ROOT/scripts/build.sh" "$tree" "$@" >/dev/null
}

# Runs an exported shell function in the session every Wine benchmark runs in: the Wine of the tree
# measured (for win64 the 64-bit one, with no 32-bit loader to fall back on), the project's prefix
# with a persistent server and its services, and a private Xvfb, all stopped at the end.
# The program, its Wine server and the X server talk in round trips; on a virtual machine whose
# other processor is idle every hand-over to it waits for the processor to wake, which made the
# same run several times slower (and noisier) on a quiet machine than on a busy one. All three run
# on one processor (ZELVO_BENCH_CPU, default 0), so both sides of a comparison pay the same for a
# round trip.
#   zelvo_bench_session TREE FUNCTION   (the function and the variables it reads exported)
zelvo_bench_session() {
  export ZELVO_ROOT ZELVO_BENCH_BODY="$2"
  export -f zelvo_bench_session_inside
  if [ "$1" = win64 ]; then
    zelvo_without_wine32 bash -c zelvo_bench_session_inside
  else
    bash -c zelvo_bench_session_inside
  fi
}

zelvo_bench_session_inside() {
  source "$ZELVO_ROOT/scripts/wine-env.sh"
  if command -v taskset >/dev/null; then
    taskset -cp "${ZELVO_BENCH_CPU:-0}" $$ >/dev/null && echo "pinned to processor ${ZELVO_BENCH_CPU:-0}"
  fi
  trap zelvo_stop EXIT
  zelvo_wine_prefix
  zelvo_start_xvfb
  zelvo_start_wine_services
  "$ZELVO_BENCH_BODY"
}
