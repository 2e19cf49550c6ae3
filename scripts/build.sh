#!/usr/bin/env bash
# Configures and builds one tree: "native" (Linux: core, unit tests, tools, benchmarks) or
# "win32" (MinGW cross build: register.exe and the Windows tests) or "win64" (the same for 64-bit
# Windows: where the kernel runs 32-bit programs only through an emulator, the tests run on it).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tree="${1:?usage: build.sh native|win32 [targets...]}"
shift
targets=()
for t in "$@"; do targets+=(--target "$t"); done
jobs="${ZELVO_JOBS:-$(nproc)}"
case "$tree" in
  native)
    cmake -S "$root" -B "$root/build/native" -G Ninja >/dev/null
    cmake --build "$root/build/native" -j "$jobs" "${targets[@]}"
    ;;
  win32|win64)
    # The cross build packs the skin with the native tool, so the native tools come first.
    tools=()
    if [ -x "$root/build/native/skinpack" ]; then tools=(-DZELVO_SKINPACK="$root/build/native/skinpack"); fi
    arch=i686; [ "$tree" = win64 ] && arch=x86_64
    cmake -S "$root" -B "$root/build/$tree" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" "${tools[@]}" >/dev/null
    cmake --build "$root/build/$tree" -j "$jobs" "${targets[@]}"
    ;;
  *) echo "unknown tree: $tree" >&2; exit 2 ;;
esac
