# Helpers shared by the end-to-end scripts (sourced after scripts/wine-env.sh). Each script
# defines its own fail(), which these call on a broken expectation.

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

e2e_expect_eq() { [ "$1" = "$2" ] || fail "expected '$2', got '$1'"; }
