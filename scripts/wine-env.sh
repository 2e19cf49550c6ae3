# Sourced by the project's scripts: a private Wine prefix under the build folder and a private
# X display. Nothing here stops processes it did not start itself.
ZELVO_ROOT="${ZELVO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
ZELVO_BUILD="${ZELVO_BUILD:-$ZELVO_ROOT/build}"
# ZELVO_WINE_BITS=64 selects the 64-bit Wine with its own prefix, for the 64-bit build of the
# same sources (see zelvo_i386_emulated); anything else is the 32-bit Wine the program ships for.
if [ "${ZELVO_WINE_BITS:-32}" = 64 ]; then
  export WINEPREFIX="${ZELVO_WINEPREFIX:-$ZELVO_BUILD/wineprefix64}"
  export WINEARCH=win64
  # "wine" is the 64-bit loader for every script and test started from here.
  # (A script, not a link: the loader started under the name "wine" takes itself for the 32-bit one.)
  mkdir -p "$ZELVO_BUILD/wine64-bin"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$ZELVO_BUILD/wine64-bin/wine"
  chmod +x "$ZELVO_BUILD/wine64-bin/wine"
  case ":$PATH:" in *":$ZELVO_BUILD/wine64-bin:"*) ;; *) export PATH="$ZELVO_BUILD/wine64-bin:$PATH" ;; esac
else
  export WINEPREFIX="${ZELVO_WINEPREFIX:-$ZELVO_BUILD/wineprefix}"
  export WINEARCH=win32
fi
# The prefix the suites share; tests that change a prefix start from a copy of it.
ZELVO_SHARED_PREFIX="$WINEPREFIX"
export WINEDEBUG=${ZELVO_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

ZELVO_XVFB_PID=""

# True where the kernel runs 32-bit programs only through qemu's user-mode emulator (set up by
# setup-deps.sh): there every 32-bit Wine process needs minutes to start.
zelvo_i386_emulated() {
  [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386
}

# Runs a command with the 64-bit Wine in a private mount namespace in which the 32-bit Wine loader
# is replaced by /bin/false. A 64-bit prefix would otherwise start 32-bit helper processes (the
# WoW64 half of its set-up) through the emulator, which takes most of an hour. Needs root.
zelvo_without_wine32() {
  ZELVO_WINE_BITS=64 unshare -m bash -c \
    'mount --bind /bin/false /usr/lib/wine/wine 2>/dev/null || [ ! -e /usr/lib/wine/wine ]; exec "$@"' bash "$@"
}

# Creates the prefix once (later runs reuse it).
zelvo_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    DISPLAY= wine wineboot -i >/dev/null 2>&1 || true
    # Wine draws the window frames itself (there is no window manager on the test display).
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Wine's own replacements of the Windows system fonts (caption-button symbols, MS Sans Serif,
  # Tahoma) go into the prefix, where every Wine build finds them.
  if [ -d /usr/share/wine/fonts ] && [ -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
}

# Copies a prefix for a test that changes it (cp -a would write 500 MB). The Windows programs,
# libraries, fonts and code pages, which nothing writes to, become hard links to the source's;
# every other file (the registry, INI files, ...) is copied, so that no change reaches the source.
zelvo_copy_prefix() {
  local src="$1" dst="$2"
  cp -al "$src" "$dst" || return 1
  find "$dst" -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.drv' ! -iname '*.sys' ! -iname '*.ocx' \
       ! -iname '*.cpl' ! -iname '*.acm' ! -iname '*.ax' ! -iname '*.tlb' ! -iname '*.ds' ! -iname '*.vxd' \
       ! -iname '*.ttf' ! -iname '*.nls' -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} +
}

# Starts Xvfb on a free display number and exports DISPLAY.
zelvo_start_xvfb() {
  local n
  for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
      ZELVO_XVFB_PID=$!
      local end=$(( SECONDS + 60 ))
      while (( SECONDS < end )); do
        if [ -e "/tmp/.X11-unix/X$n" ]; then
          export DISPLAY=":$n"
          return 0
        fi
        if ! kill -0 "$ZELVO_XVFB_PID" 2>/dev/null; then break; fi
        sleep 0.1
      done
      kill "$ZELVO_XVFB_PID" 2>/dev/null || true
      ZELVO_XVFB_PID=""
    fi
  done
  echo "No free X display for Xvfb" >&2
  return 1
}

# Starts a persistent Wine server for the prefix, with its background services (which would
# otherwise be started by the first test and hold that test's output pipe open).
zelvo_start_wine_services() {
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}

# The first window ever made in a new prefix starts the desktop process and the display driver,
# and the first text drawn builds the font cache: on a slow or busy machine that takes longer than
# a test's waits allow. The warm-up program (built in the cross trees) does it once, with a
# generous limit, before the first timed test. Usage: zelvo_warm_up PATH/TO/wine_warmup.exe
zelvo_warm_up() {
  local exe="$1" start=$SECONDS limit="${ZELVO_WARMUP_LIMIT:-600}" pid status=0
  if [ ! -f "$exe" ]; then
    echo "No $exe: the Wine prefix is not warmed up" >&2
    return 1
  fi
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    if (( SECONDS - start >= limit )); then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      echo "The Wine prefix showed no window within $limit s (display $DISPLAY)" >&2
      return 1
    fi
    sleep 0.1
  done
  wait "$pid" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "The Wine prefix could not make a window (status $status)" >&2
    return 1
  fi
  echo "Wine prefix ready: its first window took $(( SECONDS - start )) s"
}

# Stops the Wine server of our prefix and the Xvfb we started.
zelvo_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$ZELVO_XVFB_PID" ]; then
    kill "$ZELVO_XVFB_PID" 2>/dev/null || true
    wait "$ZELVO_XVFB_PID" 2>/dev/null || true
    ZELVO_XVFB_PID=""
  fi
}
