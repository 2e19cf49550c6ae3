# Helpers shared by the end-to-end scripts (sourced after scripts/wine-env.sh). Each script
# defines its own fail(), which these call on a broken expectation.

e2e_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# Waits for a visible window whose title matches the pattern; prints the newest one's id.
# Tries every 0.1 s, 600 times unless a count is given (Wine starts slowly on a loaded machine).
e2e_wait_window() {
  local pattern="$1" tries="${2:-600}" w=""
  for _ in $(seq 1 "$tries"); do
    w=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n 1 || true)
    if [ -n "$w" ]; then echo "$w"; return 0; fi
    sleep 0.1
  done
  return 1
}

# Waits for a child process of this shell to end and sets e2e_status to its exit status.
# Returns 1 when it is still running after 0.1 s times the count (default 200).
e2e_status=""
e2e_wait_process() {
  local pid="$1" tries="${2:-200}"
  for _ in $(seq 1 "$tries"); do
    if ! kill -0 "$pid" 2>/dev/null; then
      e2e_status=0
      wait "$pid" || e2e_status=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

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

# Screenshot of one window into the build's screenshot folder; prints the file's path.
e2e_screenshot() {
  local window="$1" name="$2"
  mkdir -p "$ZELVO_BUILD/screenshots"
  import -window "$window" "$ZELVO_BUILD/screenshots/$name"
  echo "$ZELVO_BUILD/screenshots/$name"
}

# The skinned frame in a window's screenshot is the one the skin preview draws for a window of
# the same size, style and caption: the sides, the bottom and the caption's right end (the close
# button) are pixel for pixel the same. Left out: the caption text and the rest of its strip, and
# the corners the window region cuts away (6 pixels at each end). Sets e2e_frame to the frame's
# thickness "LEFT TOP RIGHT BOTTOM" (where the client area lies) for the caller's own checks.
# Usage: e2e_compare_frame SHOT STYLE CAPTION WORKDIR   (STYLE as skinpreview takes it)
e2e_frame=""
e2e_compare_frame() {
  e2e_frame_differs "$@" || fail "$e2e_mismatch"
  [ -z "$e2e_mismatch" ] || fail "$(basename "$1"): $e2e_mismatch"
}

# The same comparison without failing: sets e2e_mismatch to where the shot differs from the
# preview (empty when it matches) and e2e_frame as above. Extra arguments go to the preview
# (e.g. --inactive). Returns 1, the reason in e2e_mismatch, when the preview cannot be made.
# Usage: e2e_frame_differs SHOT STYLE CAPTION WORKDIR [PREVIEW OPTION...]
e2e_mismatch=""
e2e_frame_differs() {
  local shot="$1" style="$2" caption="$3" work="$4"
  shift 4
  local preview="$e2e_root/build/native/skinpreview" size width height info l t r b strip diff
  e2e_mismatch=""
  if [ ! -x "$preview" ]; then e2e_mismatch="no skin preview tool at $preview (build the native tree first)"; return 1; fi
  if ! size=$(identify -format '%wx%h' "$shot"); then e2e_mismatch="cannot read $shot"; return 1; fi
  width=${size%x*}
  height=${size#*x}
  if ! info=$("$preview" "$e2e_root/resources/skin" "$work/preview.bmp" --size "$size" --style "$style" \
                --caption "$caption" "$@"); then
    e2e_mismatch="the skin preview failed"
    return 1
  fi
  read -r l t r b < <(sed -n 's/.*, frame \([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\),.*/\1 \2 \3 \4/p' <<< "$info")
  if ! { [ -n "$b" ] && [ "$l" -gt 0 ] && [ "$t" -gt 6 ] && [ "$r" -gt 0 ] && [ "$b" -gt 0 ]; }; then
    e2e_mismatch="the skin preview reports no frame: $info"
    return 1
  fi
  e2e_frame="$l $t $r $b"
  for strip in "${l}x$(( height - 12 ))+0+6" "${r}x$(( height - 12 ))+$(( width - r ))+6" \
               "$(( width - 12 ))x${b}+6+$(( height - b ))" "30x$(( t - 6 ))+$(( width - 36 ))+6"; do
    convert "$work/preview.bmp" -crop "$strip" +repage "$work/strip-preview.png"
    convert "$shot" -crop "$strip" +repage "$work/strip-shot.png"
    diff=$(compare -metric AE -fuzz 3% "$work/strip-preview.png" "$work/strip-shot.png" null: 2>&1 || true)
    if [ "$diff" != 0 ]; then
      e2e_mismatch="frame strip $strip differs from the skin preview in $diff pixels"
      return 0
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

# The distinct colours (#RRGGBB, one a line, sorted) of an image, or of the part GEOMETRY
# (WxH+X+Y) of it. Usage: e2e_colours IMAGE [GEOMETRY]
e2e_colours() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -alpha off -depth 8 txt:- | awk 'NR > 1 { print substr($3, 1, 7) }' | sort -u
}

e2e_expect_eq() { [ "$1" = "$2" ] || fail "expected '$2', got '$1'"; }
