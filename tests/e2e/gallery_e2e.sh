#!/usr/bin/env bash
# End-to-end checks of the skin gallery under Wine, driven as a skin author drives it: keys and
# typing through xdotool, the open-file dialog, the skin folder edited on disk, and screenshots
# checked with ImageMagick.
# Usage: gallery_e2e.sh CASE PATH/TO/skingallery.exe
set -euo pipefail
case_name="$1"
exe="$2"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/wine-env.sh"
source "$root/tests/e2e/lib.sh"
: "${DISPLAY:?the end-to-end tests need the display that scripts/test.sh starts}"
zelvo_wine_prefix

work="$ZELVO_BUILD/e2e/gallery-$case_name"
rm -rf "$work"
mkdir -p "$work/app"
cp "$exe" "$work/app/skingallery.exe"
gallery='^Zelvo Skin Gallery - '
box='^Zelvo Skin Gallery$'
pid=""

fail() { echo "FAIL (gallery $case_name): $*" >&2; [ -n "$pid" ] && kill "$pid" 2>/dev/null; exit 1; }

# (Its output goes to files: the Wine server can hold a finished program's handles, and CTest
# waits for every holder of its pipe.)
start_gallery() {
  (cd "$work/app" && exec wine skingallery.exe "$@" >>"$work/stdout.txt" 2>>"$work/stderr.txt") &
  pid=$!
}

# Waits until the gallery window shows the program's skin's frame (a copy of it in open-folder),
# its first screenshot saved as NAME.
wait_skinned() {
  e2e_shoot_until "$1" "$2" e2e_check_frame sizeable "Zelvo Skin Gallery" "$work"
  echo "screenshot: $e2e_shot"
}

status=""
wait_exit() {
  e2e_wait_process "$pid" "${1:-200}" || return 1
  status=$e2e_status
  pid=""
}

# A path as the gallery sees it, through Wine's drive for "/".
win_path() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }

# A title as a pattern: the regular expression's special characters escaped.
title_pattern() { printf '%s' "$1" | sed 's/[][\.*^$+?(){}|]/\\&/g'; }

close_gallery() {
  xdotool windowfocus --sync "$1" key alt+F4
  wait_exit || fail "the gallery did not close with Alt+F4"
  expect_eq "$status" 0
}

# Opens a path through File > Open... (Ctrl+O) and the system's open-file dialog.
open_through_dialog() {
  local win="$1" path="$2" dialog
  xdotool windowfocus --sync "$win" key ctrl+o
  dialog=$(e2e_wait_window '^Open a skin file') || fail "Ctrl+O showed no open-file dialog"
  echo "screenshot: $(e2e_screenshot "$dialog" "gallery-open-dialog.png")"
  xdotool windowfocus --sync "$dialog"
  sleep 0.3
  xdotool type --delay 15 "$path"
  xdotool key Return
}

# Whether the window's left frame side, half-way down, shows the colour (#RRGGBB).
left_side_shows() {
  local win="$1" colour="$2" shot
  shot=$(e2e_screenshot "$win" "gallery-side.png")
  eval "$(xdotool getwindowgeometry --shell "$win")"
  e2e_colours "$shot" "8x1+0+$(( HEIGHT / 2 ))" | grep -qix "$colour"
}

expect_eq() { e2e_expect_eq "$@"; }

case "$case_name" in
  start)
    # Every control kind in one skinned window, the program's skin named in the title.
    start_gallery
    win=$(e2e_wait_window "${gallery}program skin\$") || fail "the gallery window never appeared"
    wait_skinned "$win" skingallery.png
    eval "$(xdotool getwindowgeometry --shell "$win")"
    [ "$WIDTH" -gt 400 ] && [ "$HEIGHT" -gt 300 ] || fail "gallery window only ${WIDTH}x${HEIGHT}"
    close_gallery "$win"
    ;;
  open-folder)
    # A skin folder opened through its description in the open-file dialog; one of its bitmaps
    # saved anew (written beside it, then renamed over it, as many editors save); the frame in
    # the next screenshots follows.
    cp -r "$root/resources/skin" "$work/myskin"
    start_gallery
    win=$(e2e_wait_window "${gallery}program skin\$") || fail "the gallery window never appeared"
    wait_skinned "$win" gallery-start.png
    open_through_dialog "$win" "$(win_path "$work/myskin/skin.ini")"
    e2e_wait_window "${gallery}myskin\$" >/dev/null || fail "the title never named the folder"
    wait_skinned "$win" gallery-myskin.png
    colour='#0AC81E'
    left_side_shows "$win" "$colour" && fail "the left side shows $colour before it was saved"
    convert "$work/myskin/frame_left.bmp" -fill "$colour" +opaque '#FF00FF' -type TrueColor \
      "BMP3:$work/myskin/frame_left.new.bmp"
    start=$(date +%s%N)
    mv "$work/myskin/frame_left.new.bmp" "$work/myskin/frame_left.bmp"
    e2e_until "$e2e_limit" left_side_shows "$win" "$colour" || fail "the frame never showed the saved bitmap"
    followed=$(( ($(date +%s%N) - start) / 1000000 ))
    echo "the frame followed the saved bitmap in a screenshot after ${followed} ms"
    close_gallery "$win"
    ;;
  open-broken)
    # A damaged skin file chosen in the open-file dialog: a message box says so, and after it the
    # gallery still shows its skin.
    head -c 300 /dev/urandom > "$work/broken.skn"
    start_gallery
    win=$(e2e_wait_window "${gallery}program skin\$") || fail "the gallery window never appeared"
    wait_skinned "$win" gallery-start.png
    open_through_dialog "$win" "$(win_path "$work/broken.skn")"
    message=$(e2e_wait_window "$box") || fail "no message about the damaged skin"
    echo "screenshot: $(e2e_screenshot "$message" gallery-broken.png)"
    xdotool windowfocus --sync "$message" key Return
    e2e_wait_window_gone "$box" || fail "the message did not close with Enter"
    e2e_wait_window "${gallery}program skin\$" >/dev/null || fail "the gallery lost its skin's title"
    close_gallery "$win"
    ;;
  hostile)
    # Every hostile skin of the test data, named on the command line: a skin that loads gives a
    # window that answers and closes with Alt+F4; one that is refused gives a message, after
    # which the gallery shows its own skin and closes the same way.
    data="$root/tests/data/hostile_skins"
    [ -f "$data/outcomes.txt" ] || fail "no hostile skins in $data"
    while IFS=$'\t' read -r name outcome _; do
      [ -n "$name" ] || continue
      start_gallery "$(win_path "$data/$name")"
      if [ "$outcome" = loads ]; then
        win=$(e2e_wait_window "${gallery}$(title_pattern "$name")\$") || fail "$name: no window naming it"
      else
        message=$(e2e_wait_window "$box") || fail "$name: refused without a message"
        xdotool windowfocus --sync "$message" key Return
        win=$(e2e_wait_window "${gallery}program skin\$") || fail "$name: no gallery after the message"
      fi
      echo "screenshot: $(e2e_screenshot "$win" "gallery-hostile-$name.png")"
      close_gallery "$win"
      echo "$name: $outcome, closed"
    done < "$data/outcomes.txt"
    ;;
  *)
    fail "unknown case"
    ;;
esac
echo "PASS (gallery $case_name)"
