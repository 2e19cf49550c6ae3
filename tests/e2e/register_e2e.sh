#!/usr/bin/env bash
# End-to-end checks of the real register.exe under Wine, driven as a user would drive it
# (mouse and keys through xdotool), with a stand-in browser that records the address it gets.
# Usage: register_e2e.sh CASE PATH/TO/register.exe
set -euo pipefail
case_name="$1"
exe="$2"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/wine-env.sh"
source "$root/tests/e2e/lib.sh"
: "${DISPLAY:?the end-to-end tests need the display that scripts/test.sh starts}"
zelvo_wine_prefix

work="$ZELVO_BUILD/e2e/$case_name"
rm -rf "$work"
mkdir -p "$work/app" "$work/bin"
cp "$exe" "$work/app/register.exe"
record="$work/opened.txt"
e2e_stand_in_browser "$work/bin" "$record"
title='^Zelvo Program Registration$'
pid=""

film_pid=""
fail() {
  echo "FAIL ($case_name): $*" >&2
  [ -n "$film_pid" ] && kill "$film_pid" 2>/dev/null
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}

# The program's output goes to files: a Wine process's standard handles can outlive it (held by
# the Wine server), and CTest waits for every holder of its pipe to let go.
start_program() {
  (cd "$work/app" && exec wine register.exe "$@" >"$work/stdout.txt" 2>"$work/stderr.txt") &
  pid=$!
}

wait_window() { e2e_wait_window "$1"; }

# Waits for the main window to show with the skin's frame around its 418x275 client area; prints
# its id.
wait_main_window() {
  local w
  w=$(wait_window "$title") || fail "main window never appeared"
  e2e_wait_skinned "$w" single 418x275 >&2
  echo "$w"
}

# Every visible top-level X window (decimal ids, sorted as comm wants them).
visible_windows() { xdotool search --onlyvisible --maxdepth 1 --name '' 2>/dev/null | sort || true; }

# Waits (in this shell, whose child the program is) for the program to end; sets $status.
status=""
wait_exit() {
  e2e_wait_process "$pid" || return 1
  status=$e2e_status
  pid=""
}

# Waits until the stand-in browser has recorded an address; prints it.
wait_address() {
  e2e_until "$e2e_limit" test -s "$record" || return 1
  cat "$record"
}

# Client-area origin of a window inside its X window (Wine draws the frame itself).
client_origin() {
  local w="$1" width height
  eval "$(xdotool getwindowgeometry --shell "$w")"
  width=$WIDTH; height=$HEIGHT
  local border=$(( (width - 418) / 2 ))
  echo "$border $(( height - 275 - border )) $X $Y $width $height"
}

click_register_now() {
  local w="$1"
  read -r bx by wx wy _ _ < <(client_origin "$w")
  # (No --sync: it waits for the pointer to move, which it does not when it is already there,
  # as after the previous case's click. The X server delivers the motion before the click.)
  xdotool mousemove $(( wx + bx + 160 + 48 )) $(( wy + by + 242 + 12 )) click 1
}

# A prefix of its own with no handler for web addresses, so the shell refuses them.
refusing_prefix() {
  export WINEPREFIX="$work/prefix"
  zelvo_copy_prefix "$ZELVO_SHARED_PREFIX" "$WINEPREFIX" || fail "cannot copy the Wine prefix"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  for scheme in http https; do
    wine reg export "HKCR\\$scheme" "$work/$scheme.reg" /y >/dev/null 2>&1 || fail "no $scheme association to remove"
    wine reg delete "HKCR\\$scheme" /f >/dev/null 2>&1
  done
}

write_settings() { printf "$1" > "$work/app/register.ini"; }

expect_eq() { e2e_expect_eq "$@"; }

# A page address of the given length in all (the SKU "L-1" included).
long_page() {
  local page="https://www.example.com/register.asp?pad="
  printf '%s' "$page$(head -c $(( $1 - ${#page} - 3 )) /dev/zero | tr '\0' 'x')L-1"
}

case "$case_name" in
  click)
    write_settings '[General]\r\nSKU=ZN-100\r\nURL=https://www.example.com/register.asp?sku=\r\nProduct=Zelvo Notes\r\n'
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    click_register_now "$win"
    wait_exit || fail "program did not end after the click"
    expect_eq "$status" 0
    expect_eq "$(wait_address)" "https://www.example.com/register.asp?sku=ZN-100"
    ;;
  enter-no-settings)
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    xdotool windowfocus --sync "$win" key Return
    wait_exit || fail "program did not end after Enter"
    expect_eq "$status" 0
    expect_eq "$(wait_address)" "https://www.zelvosoft.com/register.asp"
    ;;
  lowercase-settings)
    write_settings '[general]\nsku = ab-1 \n  url = https://shop.example.com/reg.asp?id=7&sku=  \n'
    start_program
    win=$(wait_main_window)
    click_register_now "$win"
    wait_exit || fail "program did not end"
    expect_eq "$status" 0
    expect_eq "$(wait_address)" "https://shop.example.com/reg.asp?id=7&sku=ab-1"
    ;;
  silent)
    write_settings '[General]\nSKU=S-9\n'
    start_program SiLeNt
    seen=""
    end=$(( SECONDS + e2e_limit ))
    while kill -0 "$pid" 2>/dev/null && (( SECONDS < end )); do
      if xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; then seen=yes; fi
      sleep 0.05
    done
    wait_exit || fail "program did not end in silent mode"
    expect_eq "$status" 0
    [ -z "$seen" ] || fail "a window was shown in silent mode"
    expect_eq "$(wait_address)" "https://www.zelvosoft.com/register.aspS-9"
    ;;
  shell-refuses)
    refusing_prefix
    write_settings '[General]\nSKU=R-1\n'
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    click_register_now "$win"
    err=$(wait_window '^Error$') || fail "no error dialog after the shell refused"
    kill -0 "$pid" 2>/dev/null || fail "program ended although the shell refused"
    xdotool search --onlyvisible --name "$title" >/dev/null || fail "main window went away"
    e2e_shoot_until "$err" error-dialog.png e2e_check_frame dialog Error "$work"
    xdotool windowfocus --sync "$err" key Return
    e2e_wait_window_gone '^Error$' || fail "the error dialog did not close with Enter"
    [ ! -s "$record" ] || fail "an address was opened although the shell refused"
    # Give the shell its handler back: the second press tries the same address again.
    wine reg import "$work/http.reg" >/dev/null 2>&1
    wine reg import "$work/https.reg" >/dev/null 2>&1
    click_register_now "$win"
    wait_exit || { import -window root "$work/after-second-press.png"; fail "program did not end after the second press"; }
    expect_eq "$status" 0
    expect_eq "$(wait_address)" "https://www.zelvosoft.com/register.aspR-1"
    ;;
  silent-refused)
    # Silent mode whose page cannot be opened: the error waits for the user, then the program ends.
    refusing_prefix
    start_program silent
    err=$(wait_window '^Error$') || fail "no error dialog in silent mode"
    xdotool search --onlyvisible --name "$title" >/dev/null 2>&1 && fail "the main window was shown"
    kill -0 "$pid" 2>/dev/null || fail "program ended before the user dismissed the error"
    # Drawn in the program's skin, as in a normal start.
    e2e_shoot_until "$err" silent-error-dialog.png e2e_check_frame dialog Error "$work"
    xdotool windowfocus --sync "$err" key Return
    wait_exit || fail "program did not end after the error was dismissed"
    expect_eq "$status" 0
    [ ! -s "$record" ] || fail "an address was opened although the shell refused"
    ;;
  utf16-settings)
    # Saved by an editor as UTF-16 with its byte-order mark.
    printf '[General]\r\nSKU=U-16\r\nURL=https://www.example.com/r.asp?sku=\r\n' |
      iconv -f ASCII -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$work/app/register.ini"
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    click_register_now "$win"
    wait_exit || fail "program did not end after the click"
    expect_eq "$status" 0
    expect_eq "$(wait_address)" "https://www.example.com/r.asp?sku=U-16"
    ;;
  long-address)
    # Far longer than a plain ANSI shell call survives, and still within what browsers take.
    page=$(long_page 2000)
    write_settings "[General]\nSKU=L-1\nURL=${page%L-1}\n"
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    click_register_now "$win"
    wait_exit || fail "program did not end after the click"
    expect_eq "$status" 0
    expect_eq "$(wait_address)" "$page"
    ;;
  too-long-address)
    page=$(long_page 2084)
    write_settings "[General]\nSKU=L-1\nURL=${page%L-1}\n"
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    click_register_now "$win"
    err=$(wait_window '^Error$') || fail "no error dialog for an address longer than browsers take"
    e2e_shoot_until "$err" error-dialog.png e2e_check_frame dialog Error "$work"
    echo "screenshot: $e2e_shot"
    kill -0 "$pid" 2>/dev/null || fail "program ended"
    xdotool windowfocus --sync "$err" key Return
    e2e_wait_window_gone '^Error$' || fail "the error dialog did not close with Enter"
    kill -0 "$pid" 2>/dev/null || fail "program ended after the error"
    xdotool search --onlyvisible --name "$title" >/dev/null || fail "main window went away after the error"
    [ ! -s "$record" ] || fail "the address was handed on"
    xdotool windowfocus --sync "$win" key alt+F4
    wait_exit || fail "program did not close with Alt+F4"
    expect_eq "$status" 0
    ;;
  screenshot)
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    read -r bx by _ _ width height < <(client_origin "$win")
    [ "$bx" -ge 0 ] && [ "$bx" -le 12 ] && [ "$by" -ge 0 ] && [ "$by" -le 48 ] ||
      fail "window ${width}x${height} does not hold a 418x275 client area"
    # And the frame around it is really there: the window is bigger than the picture.
    [ "$width" -gt 418 ] && [ "$height" -gt 275 ] || fail "no window frame"
    convert "$root/resources/MainBack.bmp" -crop 418x226+0+0 +repage "$work/art.png"
    main_window_finished() {
      local shot="$1" diff
      # The client area shows the artwork: compare everything above the button band with the
      # picture itself (a few differing pixels allowed for colour conversion).
      convert "$shot" -crop "418x226+$bx+$by" +repage "$work/client.png"
      diff=$(compare -metric AE -fuzz 6% "$work/client.png" "$work/art.png" null: 2>&1 || true)
      [ "${diff%%.*}" -lt 500 ] 2>/dev/null || { e2e_why="client area does not show the artwork ($diff pixels differ)"; return 1; }
      # The skinned frame is the one the skin preview draws for a window of that size, and the
      # client area lies where that frame ends.
      e2e_check_frame "$shot" single "Zelvo Program Registration" "$work"
    }
    e2e_shoot_until "$win" main-window.png main_window_finished
    expect_eq "$e2e_frame" "$bx $by $(( width - 418 - bx )) $(( height - 275 - by ))"
    echo "screenshot: $e2e_shot"
    xdotool windowfocus --sync "$win" key alt+F4
    wait_exit || fail "program did not close with Alt+F4"
    expect_eq "$status" 0
    [ ! -s "$record" ] || fail "closing the window opened an address"
    ;;
  system-menu)
    # Alt+Space opens the skinned system menu: a new popup window over the main window, drawn
    # in the colours of the skin's menu. Esc closes it; the window then closes with Alt+F4.
    start_program "Zelvo Notes"
    win=$(wait_main_window)
    visible_windows > "$work/before.txt"
    xdotool windowfocus --sync "$win" key alt+space
    new_window() { menu=$(visible_windows | comm -13 "$work/before.txt" - | tail -n 1); [ -n "$menu" ]; }
    e2e_until "$e2e_limit" new_window || fail "no popup menu appeared after Alt+Space"
    eval "$(xdotool getwindowgeometry --shell "$win")"
    wx=$X; wy=$Y; wx2=$(( X + WIDTH )); wy2=$(( Y + HEIGHT ))
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    mx=$X; my=$Y; mw=$WIDTH; mh=$HEIGHT
    [ "$mw" -gt 40 ] && [ "$mh" -gt 40 ] || fail "the popup is only ${mw}x${mh}"
    (( mx < wx )) && wx=$mx; (( my < wy )) && wy=$my
    (( mx + mw > wx2 )) && wx2=$(( mx + mw )); (( my + mh > wy2 )) && wy2=$(( my + mh ))
    mkdir -p "$ZELVO_BUILD/screenshots"
    shot="$ZELVO_BUILD/screenshots/system-menu.png"
    background="$root/resources/skin/menu_background.bmp"
    bh=$(identify -format '%h' "$background")
    menu_drawn() {
      local part name x share colour count corner bx by sx sy diff
      import -window root -crop "$(( wx2 - wx ))x$(( wy2 - wy ))+$wx+$wy" +repage "$shot"
      convert "$shot" -crop "${mw}x${mh}+$(( mx - wx ))+$(( my - wy ))" +repage "$work/menu.png"
      # Most of the menu is the face colour of the skin's menu background, and its glyph column
      # (the background's left part) is there too: both are read from the skin's bitmap.
      for part in "face 40 4" "glyph-column 10 20"; do
        read -r name x share <<< "$part"
        colour=$(convert "$background" -format '%[hex:p{'"$x"',24}]' info:)
        count=$(convert "$work/menu.png" -alpha off -fill black +opaque "#$colour" -fill white -opaque "#$colour" \
                  -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:)
        (( count * share >= mw * mh )) || {
          e2e_why="only $count of the menu's $(( mw * mh )) pixels have the skin's menu $name colour #$colour"
          return 1
        }
      done
      # Its border is the skin's too: the background's corners are copied unstretched.
      for corner in "0 0 0 0" "0 $(( bh - 3 )) 0 $(( mh - 3 ))"; do
        read -r bx by sx sy <<< "$corner"
        convert "$background" -crop "3x3+$bx+$by" +repage "$work/corner-skin.png"
        convert "$work/menu.png" -crop "3x3+$sx+$sy" +repage "$work/corner-shot.png"
        diff=$(compare -metric AE "$work/corner-skin.png" "$work/corner-shot.png" null: 2>&1 || true)
        [ "$diff" = 0 ] || { e2e_why="the menu's border corner at $sx,$sy is not the skin's ($diff pixels differ)"; return 1; }
      done
    }
    e2e_until "$e2e_limit" menu_drawn || fail "$e2e_why"
    echo "screenshot: $shot"
    xdotool key Escape
    menu_gone() { ! visible_windows | grep -qx "$menu"; }
    e2e_until "$e2e_limit" menu_gone || fail "Esc did not close the menu"
    kill -0 "$pid" 2>/dev/null || fail "program ended with the menu"
    xdotool windowfocus --sync "$win" key alt+F4
    wait_exit || fail "program did not close with Alt+F4"
    expect_eq "$status" 0
    [ ! -s "$record" ] || fail "the system menu opened an address"
    ;;
  film)
    # The start filmed: the whole screen grabbed as fast as the X server allows while the program
    # starts. Every picture in which the main window is on the screen shows it finished: the
    # skin's frame (active or inactive) around the artwork, never the system's caption and border
    # nor a black client area.
    film="$work/film"
    mkdir -p "$film"
    grabber=$(e2e_screen_film) || fail "the screen-filming program could not be built"
    "$grabber" "$film" 60 > "$work/film.txt" &
    film_pid=$!
    for _ in $(seq 1 100); do [ -e "$film/frame-0000-0-0.ppm" ] && break; sleep 0.1; done
    [ -e "$film/frame-0000-0-0.ppm" ] || fail "the screen-filming program took no picture"
    start_program "Zelvo Notes"
    win=$(wait_window "$title") || fail "main window never appeared"
    sleep 1
    kill "$film_pid"
    wait "$film_pid" || { film_pid=""; fail "filming the screen failed"; }
    film_pid=""
    eval "$(xdotool getwindowgeometry --shell "$win")"
    convert "$film/frame-0000-0-0.ppm" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$film/empty.png"
    convert "$root/resources/MainBack.bmp" -crop 418x226+0+0 +repage "$work/art.png"
    pictures=0 shown=0 unfinished=()
    for f in "$film"/frame-*.ppm; do
      IFS=- read -r _ n fx fy <<< "$(basename "$f" .ppm)"
      [ "$n" = 0000 ] && continue
      pictures=$(( pictures + 1 ))
      # The window's place on the screen as this picture showed it.
      convert "$film/empty.png" \( "$f" -repage "$(printf '%+d%+d' $(( fx - X )) $(( fy - Y )))" \) -flatten \
        "$film/at-$n.png"
      [ "$(compare -metric AE "$film/empty.png" "$film/at-$n.png" null: 2>&1 || true)" = 0 ] && continue
      shown=$(( shown + 1 ))
      if ! e2e_check_frame "$film/at-$n.png" single "Zelvo Program Registration" "$work" &&
         ! e2e_check_frame "$film/at-$n.png" single "Zelvo Program Registration" "$work" --inactive; then
        unfinished+=("picture $n: $e2e_why")
        continue
      fi
      read -r fl ft _ _ <<< "$e2e_frame"
      convert "$film/at-$n.png" -crop "418x226+$fl+$ft" +repage "$work/client.png"
      diff=$(compare -metric AE -fuzz 6% "$work/client.png" "$work/art.png" null: 2>&1 || true)
      [ "${diff%%.*}" -lt 500 ] 2>/dev/null || unfinished+=("picture $n: the client area is not the artwork ($diff pixels differ)")
    done
    echo "filmed $(cat "$work/film.txt"): $pictures pictures after the first, $shown with the window on the screen"
    [ "$shown" -gt 0 ] || fail "no filmed picture shows the main window"
    [ ${#unfinished[@]} -eq 0 ] || fail "the window was on the screen unfinished: $(printf '%s; ' "${unfinished[@]}")"
    xdotool windowfocus --sync "$win" key alt+F4
    wait_exit || fail "program did not close with Alt+F4"
    expect_eq "$status" 0
    ;;
  *)
    fail "unknown case"
    ;;
esac
echo "PASS ($case_name)"
