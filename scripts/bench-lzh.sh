#!/usr/bin/env bash
# Compares the project's -lh1- decoder with lhasa on a realistic stream, like with like.
#
#   scripts/bench-lzh.sh [BUILD_DIR]      default BUILD_DIR: build/native
#   MIB=16 ROUNDS=11 scripts/bench-lzh.sh
#
# The corpus is built here, from what a skin file and its program are made of: the repository's
# sources (text), the program's bitmaps and, when built, its executable (machine code), plus
# seeded noise and runs of repeated bytes, taken in turn until MIB MiB are gathered. The project's
# encoder packs it into a single-file -lh1- archive; both programs must extract the same bytes.
#
# Whole process against whole process: each round runs "lhasa pq ARCHIVE" and "lzh_extract
# ARCHIVE" (read the archive, decode, check the CRC, write the data to a pipe; a small program
# without the benchmark framework, so both start up alike), in alternating order, and takes each one's processor time (user + system, so other work on a
# shared machine does not count). The figures are the medians of ROUNDS such paired rounds (at
# least 10) and the median of the per-round ratios. The in-process decode rate (decoder alone,
# output buffer allocated) is printed separately and labelled as such; it is not compared with
# lhasa.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
mib=${MIB:-16}
rounds=${ROUNDS:-11}
if [ "$rounds" -lt 10 ]; then rounds=10; fi

lhasa=$(command -v lhasa || true)
if [ -z "$lhasa" ]; then
  echo "bench-lzh: lhasa is not installed (scripts/setup-deps.sh installs it)" >&2
  exit 1
fi
if ! command -v python3 > /dev/null; then
  echo "bench-lzh: python3 is needed to build the corpus and measure processor times" >&2
  exit 1
fi
if [ ! -x "$build/bench_lzh" ] || [ ! -x "$build/lzh_extract" ]; then
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja > /dev/null
  fi
  cmake --build "$build" -j2 --target bench_lzh lzh_extract > /dev/null
fi
bench=$build/bench_lzh
extract=$build/lzh_extract

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 - "$root" "$tmp/corpus.bin" "$mib" <<'EOF'
import os, random, subprocess, sys

root, out, mib = sys.argv[1], sys.argv[2], int(sys.argv[3])
want = mib << 20

def files(patterns):
    listed = subprocess.run(["git", "-C", root, "ls-files", *patterns], capture_output=True, text=True)
    names = listed.stdout.split() if listed.returncode == 0 else []
    return [os.path.join(root, n) for n in sorted(names)]

def read_all(paths):
    chunks = []
    for p in paths:
        try:
            with open(p, "rb") as f:
                chunks.append(f.read())
        except OSError:
            pass
    return b"".join(chunks)

text = read_all(files(["*.cpp", "*.h", "*.md", "*.py", "*.sh", "*.cmake", "*.ini", "*.rc", "CMakeLists.txt"]))
bitmaps = read_all(files(["*.bmp"]))
executable = read_all([os.path.join(root, "build", "win32", "register.exe")])
rng = random.Random(2024)
noise = rng.randbytes(256 << 10)
runs = b"".join(bytes([rng.getrandbits(8)]) * rng.randint(3, 300) for _ in range(4000))

parts = [("sources", text), ("bitmaps", bitmaps), ("executable", executable), ("noise", noise), ("runs", runs)]
parts = [(n, p) for n, p in parts if p]
used = {n: 0 for n, _ in parts}
data = bytearray()
while len(data) < want:
    for name, part in parts:
        take = part[: want - len(data)]
        data += take
        used[name] += len(take)
        if len(data) >= want:
            break
with open(out, "wb") as f:
    f.write(data)
print("corpus:   " + ", ".join(f"{n} {used[n] / 2**20:.1f} MiB" for n, _ in parts))
EOF

"$bench" --make-archive-from "$tmp/corpus.bin" "$tmp/corpus.lzh" > /dev/null
rm -f "$tmp/corpus.bin"

# Both must produce the same bytes before their speed means anything.
"$lhasa" pq "$tmp/corpus.lzh" > "$tmp/lhasa.out"
"$extract" "$tmp/corpus.lzh" > "$tmp/ours.out" 2> /dev/null
if ! cmp -s "$tmp/lhasa.out" "$tmp/ours.out"; then
  echo "bench-lzh: lhasa and the project's decoder disagree on the stream" >&2
  exit 1
fi
rm -f "$tmp/lhasa.out" "$tmp/ours.out"

python3 - "$lhasa" "$extract" "$tmp/corpus.lzh" "$rounds" <<'EOF'
import resource, statistics, subprocess, sys

lhasa, extract, archive, rounds = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
with open(archive, "rb") as f:
    head = f.read(64)
packed = int.from_bytes(head[7:11], "little")
size = int.from_bytes(head[11:15], "little")

def cpu_seconds(cmd):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)

theirs_cmd = [lhasa, "pq", archive]
ours_cmd = [extract, archive]
theirs, ours, ratios = [], [], []
for r in range(rounds):
    if r % 2 == 0:
        t, o = cpu_seconds(theirs_cmd), cpu_seconds(ours_cmd)
    else:
        o, t = cpu_seconds(ours_cmd), cpu_seconds(theirs_cmd)
    theirs.append(t)
    ours.append(o)
    ratios.append(t / o)

run = subprocess.run([extract, archive, "5"], stdout=subprocess.DEVNULL,
                     stderr=subprocess.PIPE, text=True, check=True)
in_process = float(run.stderr.strip().split()[-1])

mt, mo = statistics.median(theirs), statistics.median(ours)
print(f"stream:   {size / 2**20:.1f} MiB in {packed / 2**20:.2f} MiB of -lh1- ({100.0 * packed / size:.1f}%)")
print(f"whole process, median of {rounds} paired rounds (processor time):")
print(f"  lhasa pq            {mt * 1000:8.1f} ms  {size / mt / 1e6:7.1f} MB/s")
print(f"  lzh_extract         {mo * 1000:8.1f} ms  {size / mo / 1e6:7.1f} MB/s")
print(f"  ratio               {statistics.median(ratios):.2f}x  (median of per-round ratios; "
      f"range {min(ratios):.2f}-{max(ratios):.2f}; goal 3x)")
print(f"in process (decoder alone, not comparable with the above): {in_process:.1f} MB/s")
EOF
