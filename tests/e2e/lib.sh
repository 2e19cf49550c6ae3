# Helpers shared by the end-to-end scripts (sourced after scripts/wine-env.sh). Each script
# defines its own fail(), which these call on a broken expectation.

e2e_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Every wait here is for an event (a window shown or gone, a process ended, a picture finished),
# polled until it happens or a limit passes. The limit is generous, for a slow or busy machine: a
# passing case never waits for it, so it costs nothing there. ZELVO_E2E_LIMIT sets it in seconds.
e2e_limit="${ZELVO_E2E_LIMIT:-120}"

# Runs a command until it succeeds (status 0) or LIMIT seconds have passed (status 1).
# Usage: e2e_until LIMIT COMMAND [ARGS...]
e2e_until() {
  local end=$(( SECONDS + $1 ))
  shift
  until "$@"; do
    (( SECONDS < end )) || return 1
    sleep 0.1
  done
}

# The newest visible window whose title matches the pattern, or nothing.
e2e_find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true; }

# Waits for a visible window whose title matches the pattern; prints the newest one's id.
e2e_wait_window() {
  local pattern="$1" end=$(( SECONDS + ${2:-$e2e_limit} )) w
  while :; do
    w=$(e2e_find_window "$pattern")
    if [ -n "$w" ]; then echo "$w"; return 0; fi
    (( SECONDS < end )) || return 1
    sleep 0.1
  done
}

# Waits until no visible window's title matches the pattern.
e2e_wait_window_gone() {
  local pattern="$1"
  e2e_until "${2:-$e2e_limit}" e2e_no_window "$pattern"
}
e2e_no_window() { [ -z "$(e2e_find_window "$1")" ]; }

# Waits for a child process of this shell to end and sets e2e_status to its exit status.
# Returns 1 when it is still running at the limit.
e2e_status=""
e2e_wait_process() {
  local pid="$1"
  e2e_until "${2:-$e2e_limit}" e2e_process_gone "$pid" || return 1
  e2e_status=0
  wait "$pid" || e2e_status=$?
}
e2e_process_gone() { ! kill -0 "$1" 2>/dev/null; }

# Waits until a window has the size of the given client area in the skin's frame (the size the
# skin preview reports for STYLE): the skin is attached and the window has its final geometry,
# so that positions computed from it stay right. Usage: e2e_wait_skinned WINDOW STYLE CLIENT_WxH
e2e_wait_skinned() {
  local window="$1" style="$2" client="$3" l t r b
  e2e_skin_frame "$style"
  read -r l t r b <<< "$e2e_frame"
  e2e_skinned_size="$(( ${client%x*} + l + r ))x$(( ${client#*x} + t + b ))"
  e2e_until "$e2e_limit" e2e_window_has_size "$window" "$e2e_skinned_size" ||
    fail "window $window never took the skinned size $e2e_skinned_size (it is $(e2e_window_size "$window"))"
}
e2e_window_size() {
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 1
  echo "${WIDTH}x${HEIGHT}"
}
e2e_window_has_size() { [ "$(e2e_window_size "$1")" = "$2" ]; }

# A stand-in browser on PATH: Wine's browser bridge hands web addresses to xdg-open, which here
# appends each address it receives to the record file. Usage: e2e_stand_in_browser BINDIR RECORD
e2e_stand_in_browser() {
  local bin="$1" record="$2"
  mkdir -p "$bin"
  : > "$record"
  cat > "$bin/xdg-open" <<EOS
#!/bin/sh
printf '%s\n' "\$1" >> "$record"
EOS
  chmod +x "$bin/xdg-open"
  export PATH="$bin:$PATH"
}

# Screenshot of one window into the build's screenshot folder (or to a path, when the name has
# a folder in it); prints the file's path.
e2e_screenshot() {
  local window="$1" path="$2"
  case "$path" in
    */*) ;;
    *) mkdir -p "$ZELVO_BUILD/screenshots"; path="$ZELVO_BUILD/screenshots/$path" ;;
  esac
  import -window "$window" "$path"
  echo "$path"
}

# Takes screenshots of a window until one passes a check: what a window shows settles some time
# after it appears. The check gets the screenshot's path as its first argument and explains a
# refusal in e2e_why; at the limit the last explanation fails the case. Sets e2e_shot.
# Usage: e2e_shoot_until WINDOW NAME CHECK [ARGS...]
e2e_shot=""
e2e_why=""
e2e_shoot_until() {
  local window="$1" name="$2" check="$3" end=$(( SECONDS + e2e_limit ))
  shift 3
  while :; do
    e2e_why="no screenshot could be taken"
    e2e_shot=$(e2e_screenshot "$window" "$name" 2>/dev/null) && "$check" "$e2e_shot" "$@" && return 0
    (( SECONDS < end )) || fail "$name: $e2e_why"
    sleep 0.2
  done
}

# The frame thickness "LEFT TOP RIGHT BOTTOM" the skin preview draws for a window STYLE (as
# skinpreview takes it), in e2e_frame; further arguments go to the preview (e.g. --inactive).
# Usage: e2e_skin_frame STYLE [SIZE CAPTION PREVIEW.bmp [PREVIEW OPTION...]]
e2e_frame=""
e2e_skin_frame() {
  local style="$1" size="${2:-300x200}" caption="${3:-Zelvo}" out="${4:-}" preview="$e2e_root/build/native/skinpreview"
  local info l t r b keep="${4:-}"
  shift $(( $# < 4 ? $# : 4 ))
  [ -x "$preview" ] || fail "no skin preview tool at $preview (build the native tree first)"
  [ -n "$out" ] || out="$(mktemp -u "${TMPDIR:-/tmp}/zelvo-frame-XXXXXX.bmp")"
  info=$("$preview" "$e2e_root/resources/skin" "$out" --size "$size" --style "$style" --caption "$caption" "$@") ||
    fail "the skin preview failed"
  [ -n "$keep" ] || rm -f "$out"
  read -r l t r b < <(sed -n 's/.*, frame \([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\),.*/\1 \2 \3 \4/p' <<< "$info")
  [ -n "$b" ] && [ "$l" -gt 0 ] && [ "$t" -gt 6 ] && [ "$r" -gt 0 ] && [ "$b" -gt 0 ] ||
    fail "the skin preview reports no frame: $info"
  e2e_frame="$l $t $r $b"
}

# The skinned frame in a window's screenshot is the one the skin preview draws for a window of
# the same size, style and caption: the sides, the bottom and the caption's right end (the close
# button) are pixel for pixel the same. Left out: the caption text and the rest of its strip, and
# the corners the window region cuts away (6 pixels at each end). Sets e2e_frame to the frame's
# thickness "LEFT TOP RIGHT BOTTOM" (where the client area lies) for the caller's own checks;
# returns 1 with the difference in e2e_why when the frame is not the skin's.
# Extra arguments go to the preview (e.g. --inactive).
# Usage: e2e_check_frame SHOT STYLE CAPTION WORKDIR [PREVIEW OPTION...]   (STYLE as skinpreview takes it)
e2e_check_frame() {
  local shot="$1" style="$2" caption="$3" work="$4" size width height l t r b strip diff
  shift 4
  size=$(identify -format '%wx%h' "$shot") || { e2e_why="cannot read $shot"; return 1; }
  width=${size%x*}
  height=${size#*x}
  e2e_skin_frame "$style" "$size" "$caption" "$work/preview.bmp" "$@"
  read -r l t r b <<< "$e2e_frame"
  for strip in "${l}x$(( height - 12 ))+0+6" "${r}x$(( height - 12 ))+$(( width - r ))+6" \
               "$(( width - 12 ))x${b}+6+$(( height - b ))" "30x$(( t - 6 ))+$(( width - 36 ))+6"; do
    convert "$work/preview.bmp" -crop "$strip" +repage "$work/strip-preview.png"
    convert "$shot" -crop "$strip" +repage "$work/strip-shot.png"
    diff=$(compare -metric AE -fuzz 3% "$work/strip-preview.png" "$work/strip-shot.png" null: 2>&1 || true)
    if [ "$diff" != 0 ]; then
      e2e_why="$(basename "$shot"): frame strip $strip differs from the skin preview in $diff pixels"
      return 1
    fi
  done
}

# The screen-filming program (tests/e2e/screen_film.c), built natively into the build folder
# when missing or older than its source; prints its path.
e2e_screen_film() {
  local src="$e2e_root/tests/e2e/screen_film.c" bin="$ZELVO_BUILD/screen_film"
  if [ ! -x "$bin" ] || [ "$src" -nt "$bin" ]; then
    cc -O2 -o "$bin" "$src" -lX11 -lXext || return 1
  fi
  echo "$bin"
}

# The same as a plain expectation: fails the case when the frame is not the skin's.
e2e_compare_frame() { e2e_check_frame "$@" || fail "$e2e_why"; }

# The distinct colours (#RRGGBB, one a line, sorted) of an image, or of the part GEOMETRY
# (WxH+X+Y) of it. Usage: e2e_colours IMAGE [GEOMETRY]
e2e_colours() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -alpha off -depth 8 txt:- | awk 'NR > 1 { print substr($3, 1, 7) }' | sort -u
}

e2e_expect_eq() { [ "$1" = "$2" ] || fail "expected '$2', got '$1'"; }
