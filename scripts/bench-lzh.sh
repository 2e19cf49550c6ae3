#!/usr/bin/env bash
# Decodes one -lh1- stream with lhasa and with the project's decoder in the same run and prints
# both throughputs and their ratio (goal: the project's decoder at least 3x lhasa's).
#
#   scripts/bench-lzh.sh [BUILD_DIR]      default BUILD_DIR: build/native
#   MIB=16 REPEATS=5 scripts/bench-lzh.sh
#
# The stream is MIB MiB of mixed data (text, bitmap-like rows, noise, runs) compressed by the
# project's encoder and stored as a single-file -lh1- archive. Both sides first extract it and the
# outputs are compared. Times are processor times (best of REPEATS), so other work on a shared
# machine does not distort them:
#   lhasa            - "lhasa pq": read the archive, decode, check the CRC, write to a pipe;
#   extractor        - bench_lzh --extract: the same work with the project's decoder;
#   decoder          - the project's decoder alone, in process, output buffer already allocated.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
mib=${MIB:-16}
repeats=${REPEATS:-5}

lhasa=$(command -v lhasa || true)
if [ -z "$lhasa" ]; then
  echo "bench-lzh: lhasa is not installed (scripts/setup-deps.sh installs it)" >&2
  exit 1
fi
if ! command -v python3 > /dev/null; then
  echo "bench-lzh: python3 is needed to measure processor times" >&2
  exit 1
fi
if [ ! -x "$build/bench_lzh" ]; then
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja > /dev/null
  fi
  cmake --build "$build" -j2 --target bench_lzh > /dev/null
fi
bench=$build/bench_lzh

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$bench" --make-archive "$tmp/mixed.lzh" "$mib" > /dev/null

# Both must produce the same bytes before their speed means anything.
"$lhasa" pq "$tmp/mixed.lzh" > "$tmp/lhasa.out"
"$bench" --extract "$tmp/mixed.lzh" > "$tmp/ours.out" 2> /dev/null
if ! cmp -s "$tmp/lhasa.out" "$tmp/ours.out"; then
  echo "bench-lzh: lhasa and the project's decoder disagree on the stream" >&2
  exit 1
fi
rm -f "$tmp/lhasa.out" "$tmp/ours.out"

python3 - "$lhasa" "$bench" "$tmp/mixed.lzh" "$repeats" <<'EOF'
import os, resource, subprocess, sys

lhasa, bench, archive, repeats = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
with open(archive, "rb") as f:
    head = f.read(64)
packed = int.from_bytes(head[7:11], "little")
size = int.from_bytes(head[11:15], "little")

def cpu_seconds(cmd):
    """Best processor time (user + system) of the command over the repeats."""
    best = None
    for _ in range(repeats):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        t = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best = t if best is None else min(best, t)
    return best

lhasa_rate = size / cpu_seconds([lhasa, "pq", archive]) / 1e6
extract_rate = size / cpu_seconds([bench, "--extract", archive]) / 1e6
run = subprocess.run([bench, "--extract", archive, str(repeats)], stdout=subprocess.DEVNULL,
                     stderr=subprocess.PIPE, text=True, check=True)
decode_rate = float(run.stderr.strip().split()[-1])

print(f"stream:    {size / 2**20:.1f} MiB of mixed data in {packed / 2**20:.2f} MiB of -lh1- "
      f"({100.0 * packed / size:.1f}%)")
print(f"lhasa:     {lhasa_rate:7.1f} MB/s  (lhasa pq, whole process)")
print(f"extractor: {extract_rate:7.1f} MB/s  ratio {extract_rate / lhasa_rate:.2f}x  "
      f"(project's decoder, same work as lhasa)")
print(f"decoder:   {decode_rate:7.1f} MB/s  ratio {decode_rate / lhasa_rate:.2f}x  "
      f"(project's decoder alone; goal 3x)")
EOF
