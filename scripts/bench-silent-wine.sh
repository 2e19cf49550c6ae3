#!/usr/bin/env bash
# The silent run against the least program that opens the same page, whole process against whole
# process under one warm Wine server (and a private Xvfb): "register.exe silent" beside a program
# that only calls ShellExecuteA with the same address (bench/win/bench_shell_bare.cpp).
#
#   scripts/bench-silent-wine.sh [ROUNDS [REGISTER_EXE]]   default 21 paired rounds (at least 3);
#                                                          another register.exe may be given (an
#                                                          older build, for a before-and-after)
#   ZELVO_BENCH_TREE=win32|win64   the tree to build and measure; by default the shipped 32-bit
#                                  program, or the 64-bit build where 32-bit programs run emulated
#
# Both start from the same settings file (a page address and a SKU) and hand the address to Wine's
# browser bridge, which passes it to a stand-in browser that records it; every start waits for
# that record and checks the address and the exit status before the next one. Printed: the medians
# of wall-clock time (from the start of "wine PROGRAM" to its end) and of processor time (user and
# system time of that process, as the kernel counts it) for each, the medians of the per-round
# ratios with their range, the DLLs either program loads that the other does not, and the
# machine's load before and after. It runs in the session of scripts/bench-session.sh (one processor).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-21}"
program="${2:-}"
source "$root/scripts/wine-env.sh"
source "$root/scripts/bench-session.sh"
source "$root/tests/e2e/lib.sh"

if [ -n "${ZELVO_BENCH_TREE:-}" ]; then
  tree="$ZELVO_BENCH_TREE"
elif zelvo_i386_emulated; then
  tree=win64
else
  tree=win32
fi
zelvo_bench_build "$tree" register bench_shell_bare
program="$(realpath "${program:-$root/build/$tree/register.exe}")"

work="$ZELVO_BUILD/bench-silent"
rm -rf "$work"
mkdir -p "$work/app"
cp "$program" "$work/app/register.exe"
cp "$root/build/$tree/bench_shell_bare.exe" "$work/app/"
printf '[General]\r\nSKU=ZN-100\r\nURL=https://www.example.com/register.asp?sku=\r\n' > "$work/app/register.ini"
address="https://www.example.com/register.asp?sku=ZN-100"
e2e_stand_in_browser "$work/bin" "$work/opened.txt"

run() {
  echo "tree: build/$tree   program: $program"
  cd "$work/app"
  python3 - "$rounds" "$work/opened.txt" "$address" <<'PY'
import os, re, statistics, subprocess, sys, time

rounds, record, address = max(3, int(sys.argv[1])), sys.argv[2], sys.argv[3]
sides = {"silent": ["wine", "register.exe", "silent"], "bare": ["wine", "bench_shell_bare.exe", address]}


def opened():
    """The address the stand-in browser recorded; waits for it (the browser bridge runs on after
    the program has ended), then lets the bridge end too."""
    for _ in range(600):
        with open(record) as f:
            got = f.read().splitlines()
        if got:
            time.sleep(0.1)
            return got[0]
        time.sleep(0.05)
    return None


def start(side):
    """One whole process: its wall-clock and processor seconds."""
    open(record, "w").close()
    begin = time.perf_counter()
    child = subprocess.Popen(sides[side], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - begin
    child.returncode = os.waitstatus_to_exitcode(status)
    got = opened()
    if child.returncode != 0 or got != address:
        sys.exit(f"{side}: exit status {child.returncode}, opened {got!r} (expected 0 and {address!r})")
    return wall, usage.ru_utime + usage.ru_stime


def loaded(side):
    """The DLLs the program's own process loads (not those of the processes it starts); the first
    module loaded is the program itself."""
    open(record, "w").close()
    log = subprocess.run(sides[side], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, env=dict(os.environ, WINEDEBUG="+loaddll"),
                         text=True, errors="replace").stderr
    opened()
    found = re.findall(r'^([0-9a-f]+):trace:loaddll:.*Loaded L"[^"]*\\([^"\\]+)"', log, re.M)
    return {name.lower() for pid, name in found if pid == found[0][0] and not name.lower().endswith(".exe")}


for side in sides:  # warm-up: the server's caches, the disk's, the browser bridge
    start(side)
times = {side: [] for side in sides}
for r in range(rounds):
    for side in (sides if r % 2 == 0 else reversed(list(sides))):
        times[side].append(start(side))

print(f"Whole process, {rounds} paired rounds in alternating order; ratio = median of the per-round ratios")
print(f"silent run / bare shell call (range in brackets). The silent run's goal: at most 1.3x.\n")
print(f"{'':24} {'silent run':>11} {'bare call':>10}   {'ratio':>6}")
for i, what in enumerate(("wall-clock (ms)", "processor time (ms)")):
    silent = [t[i] for t in times["silent"]]
    bare = [t[i] for t in times["bare"]]
    ratios = [s / b for s, b in zip(silent, bare) if b > 0]
    ratio = statistics.median(ratios)
    goal = f"  <= 1.3x {'met' if ratio <= 1.3 else 'MISSED'}" if i == 0 else ""
    print(f"{what:24} {1000 * statistics.median(silent):11.1f} {1000 * statistics.median(bare):10.1f}"
          f"   {ratio:5.2f}x ({min(ratios):.2f}-{max(ratios):.2f}){goal}")
silent, bare = loaded("silent"), loaded("bare")
print("\nDLLs only the silent run loads:", " ".join(sorted(silent - bare)) or "none")
print("DLLs only the bare call loads: ", " ".join(sorted(bare - silent)) or "none")
PY
  echo "load before: $load_before   after: $(cut -d' ' -f1-3 /proc/loadavg)"
}
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
export tree rounds work program address load_before
export -f run
zelvo_bench_session "$tree" run
