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
  local shot="$1" style="$2" caption="$3" work="$4"
  local preview="$e2e_root/build/native/skinpreview" size width height info l t r b strip diff
  [ -x "$preview" ] || fail "no skin preview tool at $preview (build the native tree first)"
  size=$(identify -format '%wx%h' "$shot") || fail "cannot read $shot"
  width=${size%x*}
  height=${size#*x}
  info=$("$preview" "$e2e_root/resources/skin" "$work/preview.bmp" --size "$size" --style "$style" \
           --caption "$caption") || fail "the skin preview failed"
  read -r l t r b < <(sed -n 's/.*, frame \([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\),.*/\1 \2 \3 \4/p' <<< "$info")
  [ -n "$b" ] && [ "$l" -gt 0 ] && [ "$t" -gt 6 ] && [ "$r" -gt 0 ] && [ "$b" -gt 0 ] ||
    fail "the skin preview reports no frame: $info"
  for strip in "${l}x$(( height - 12 ))+0+6" "${r}x$(( height - 12 ))+$(( width - r ))+6" \
               "$(( width - 12 ))x${b}+6+$(( height - b ))" "30x$(( t - 6 ))+$(( width - 36 ))+6"; do
    convert "$work/preview.bmp" -crop "$strip" +repage "$work/strip-preview.png"
    convert "$shot" -crop "$strip" +repage "$work/strip-shot.png"
    diff=$(compare -metric AE -fuzz 3% "$work/strip-preview.png" "$work/strip-shot.png" null: 2>&1 || true)
    [ "$diff" = 0 ] || fail "$(basename "$shot"): frame strip $strip differs from the skin preview in $diff pixels"
  done
  e2e_frame="$l $t $r $b"
}

# The distinct colours (#RRGGBB, one a line, sorted) of an image, or of the part GEOMETRY
# (WxH+X+Y) of it. Usage: e2e_colours IMAGE [GEOMETRY]
e2e_colours() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -alpha off -depth 8 txt:- | awk 'NR > 1 { print substr($3, 1, 7) }' | sort -u
}

e2e_expect_eq() { [ "$1" = "$2" ] || fail "expected '$2', got '$1'"; }
