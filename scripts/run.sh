#!/usr/bin/env bash
# Builds register.exe and starts it under Wine with the given arguments. With a display it runs
# interactively; without one it runs under a private Xvfb, saves a screenshot of the main window
# and closes the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -z "${ZELVO_IN_NAMESPACE:-}" ]; then
  bash "$root/scripts/setup-deps.sh"
  # Only what the program needs: the native skin packer, then register.exe.
  bash "$root/scripts/build.sh" native skinpack >/dev/null
  bash "$root/scripts/build.sh" win32 register >/dev/null
fi
source "$root/scripts/wine-env.sh"
exe="$root/build/win32/register.exe"
# Where the kernel runs 32-bit programs only through an emulator (minutes per start), the 64-bit
# build of the same sources runs under the 64-bit Wine instead; ZELVO_RUN_32=1 insists on the
# 32-bit program.
if zelvo_i386_emulated && [ "${ZELVO_RUN_32:-0}" != 1 ] && [ -z "${ZELVO_IN_NAMESPACE:-}" ]; then
  echo "This kernel runs 32-bit programs only through an emulator: running the 64-bit build of"
  echo "register.exe under the 64-bit Wine (ZELVO_RUN_32=1 runs the 32-bit one, slowly)."
  bash "$root/scripts/build.sh" win64 register >/dev/null
  ZELVO_IN_NAMESPACE=1 zelvo_without_wine32 bash "$root/scripts/run.sh" "$@"
  exit $?
fi
if [ -n "${ZELVO_IN_NAMESPACE:-}" ]; then exe="$root/build/win64/register.exe"; fi
zelvo_wine_prefix

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$exe" "$@"
fi

trap zelvo_stop EXIT
zelvo_start_xvfb
wine "$exe" "$@" &
pid=$!
win=""
# (A new prefix's first window can take a minute on a slow machine.)
end=$(( SECONDS + 300 ))
while (( SECONDS < end )); do
  win=$(xdotool search --onlyvisible --name '^Zelvo Program Registration$' 2>/dev/null | head -n 1 || true)
  [ -n "$win" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$win" ] && kill -0 "$pid" 2>/dev/null; then
  echo "register.exe showed no window within 300 s; stopping its Wine server"
  wineserver -k >/dev/null 2>&1 || true
fi
if [ -z "$win" ]; then
  wait "$pid" && status=0 || status=$?
  echo "register.exe ended without showing its window (exit status $status)"
  exit "$status"
fi
sleep 1
mkdir -p "$root/build/screenshots"
shot="$root/build/screenshots/main-window.png"
import -window "$win" "$shot"
echo "Screenshot of the main window: $shot"
# Close the window as a user would (Alt+F4) and let the program end by itself.
xdotool windowfocus --sync "$win" >/dev/null 2>&1 || true
xdotool key --window "$win" alt+F4 >/dev/null 2>&1 || true
end=$(( SECONDS + 60 ))
while kill -0 "$pid" 2>/dev/null && (( SECONDS < end )); do sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  echo "register.exe did not close; stopping its Wine server"
  wineserver -k >/dev/null 2>&1 || true
fi
wait "$pid" 2>/dev/null || true
