# Sourced by the project's scripts: a private Wine prefix under the build folder and a private
# X display. Nothing here stops processes it did not start itself.
ZELVO_ROOT="${ZELVO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
ZELVO_BUILD="${ZELVO_BUILD:-$ZELVO_ROOT/build}"
export WINEPREFIX="${ZELVO_WINEPREFIX:-$ZELVO_BUILD/wineprefix}"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

ZELVO_XVFB_PID=""

# Creates the prefix once (later runs reuse it).
zelvo_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    DISPLAY= wineboot -i >/dev/null 2>&1 || true
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

# Starts Xvfb on a free display number and exports DISPLAY.
zelvo_start_xvfb() {
  local n
  for n in $(seq 91 160); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
      ZELVO_XVFB_PID=$!
      local i
      for i in $(seq 1 100); do
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

# Stops the Wine server of our prefix and the Xvfb we started.
zelvo_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$ZELVO_XVFB_PID" ]; then
    kill "$ZELVO_XVFB_PID" 2>/dev/null || true
    wait "$ZELVO_XVFB_PID" 2>/dev/null || true
    ZELVO_XVFB_PID=""
  fi
}
