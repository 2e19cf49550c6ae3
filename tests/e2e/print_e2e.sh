#!/usr/bin/env bash
# The registration card printed for real. A private CUPS daemon (its own folder, a Unix socket)
# offers a PDF printer as the default printer of a Wine prefix of this test's own; the driver
# program starts as the program does (the form and its dialogs skinned), shows the filled
# registration form and prints through the form's own print path while this script acts as the
# user (Enter, then the question dialogs' keys). Checked: the form's skin on its screenshots; the
# PDF's page count, title, texts and their positions; then the failure paths: no default
# printer, and a printer failure in the middle of the job (each reported, the form left open).
# Usage: print_e2e.sh PATH/TO/e2e_print_driver.exe
set -euo pipefail
driver="$1"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$root/scripts/wine-env.sh"
source "$root/tests/e2e/lib.sh"
: "${DISPLAY:?the end-to-end tests need the display that scripts/test.sh starts}"
zelvo_wine_prefix
started=$(date +%s%N)

work="$ZELVO_BUILD/e2e/print"
rm -rf "$work"
mkdir -p "$work/app" "$work/pdf"
# CUPS runs its filters as an unprivileged user, which must reach the spooled job and the PPD: its
# files live in a directory of their own that everyone may pass through (a checkout can sit below
# a private directory, such as one made by mktemp), linked from the work folder.
cupsdir="$(mktemp -d /tmp/zelvo-cups-root.XXXXXX)"
chmod 755 "$cupsdir"
ln -s "$cupsdir" "$work/cups"
mkdir -p "$cupsdir"/{spool/tmp,cache,state,logs,ppd}
chmod 1777 "$cupsdir/spool/tmp"
cp "$driver" "$work/app/print_card.exe"

queue=ZelvoCardPDF
# cups-pdf reads its settings from /etc/cups only: a file named after the device URI's path
# gives this queue its own output folder.
instance="zelvo-e2e-$$"
pdfconf="/etc/cups/cups-pdf-$instance.conf"
socket="$work/cups/socket"
if [ ${#socket} -gt 100 ]; then socket="$(mktemp -u /tmp/zelvo-cups-XXXXXX.sock)"; fi
cupsd_pid=""
driver_pid=""

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/driver.log" ] && { echo "--- driver output:" >&2; grep -v '^extent ' "$work/driver.log" >&2 || true; }
  exit 1
}
elapsed() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

# A Wine prefix of the test's own (it will know the test's printer).
export WINEPREFIX="$work/prefix"
cleanup() {
  if [ -n "$driver_pid" ]; then kill "$driver_pid" 2>/dev/null || true; fi
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  rm -f "$pdfconf"
  case "$socket" in /tmp/zelvo-cups-*) rm -f "$socket" ;; esac
  case "$cupsdir" in /tmp/zelvo-cups-root.*) rm -rf "$cupsdir" ;; esac
}
trap cleanup EXIT

zelvo_copy_prefix "$ZELVO_SHARED_PREFIX" "$WINEPREFIX" || fail "cannot copy the Wine prefix"

# --- the driver and the user's keys -------------------------------------------------------

start_driver() {
  : > "$work/driver.log"
  (cd "$work/app" && exec wine print_card.exe "$@" > "$work/driver.log" 2> "$work/driver.err") &
  driver_pid=$!
}

wait_window() { e2e_wait_window "$1"; }

# Waits until the driver has reported its n-th dialog; prints that report.
wait_dialog() {
  local n="$1" line end=$(( SECONDS + e2e_limit ))
  while :; do
    line=$(grep '^dialog ' "$work/driver.log" | sed -n "${n}p")
    if [ -n "$line" ]; then echo "${line#dialog }"; return 0; fi
    kill -0 "$driver_pid" 2>/dev/null || return 1
    (( SECONDS < end )) || return 1
    sleep 0.1
  done
}

# Answers the dialog on screen with a key.
answer() {
  local title="$1" key="$2" w
  w=$(wait_window "^$title\$") || fail "no $title dialog on the screen"
  xdotool windowfocus --sync "$w" key "$key"
}

wait_driver() {
  e2e_wait_process "$driver_pid" || fail "the form did not close"
  driver_pid=""
  [ "$e2e_status" = 0 ] || fail "the driver ended with status $e2e_status"
}

# The form is skinned as in the program: its frame is the one the skin preview draws, the client
# area inside it is the form's 538x489, and both push buttons show the skin's button faces (the
# colours of its button bitmap between the fixed edges, in any of its states) above their glyph
# and caption, where an unskinned button shows the plain button face. (Returns 1 with the reason
# in e2e_why while the form is not yet drawn so.)
for f in 0 1 2 3 4; do e2e_colours "$root/resources/skin/button.bmp" "16x22+$(( 24 * f + 4 ))+0"; done |
  sort -u > "$work/button-faces.txt"
check_skinned_form() {
  local shot="$1" l t r b size x colours
  e2e_check_frame "$shot" single "Registration Information" "$work" || return 1
  read -r l t r b <<< "$e2e_frame"
  size=$(identify -format '%wx%h' "$shot")
  [ "$size" = "$(( 538 + l + r ))x$(( 489 + t + b ))" ] || {
    e2e_why="the $size form does not hold its 538x489 client area in the skin's frame ($e2e_frame)"
    return 1
  }
  for x in 117 291; do
    e2e_colours "$shot" "110x1+$(( l + x + 10 ))+$(( t + 416 + 8 ))" > "$work/button-row.txt"
    colours=$(comm -23 "$work/button-row.txt" "$work/button-faces.txt" | tr '\n' ' ')
    [ -z "$colours" ] || { e2e_why="the push button at x $x is not drawn from the skin (colours $colours)"; return 1; }
  done
}

press_print() {
  local form
  form=$(wait_window '^Registration Information$') || fail "the registration form never appeared"
  e2e_shoot_until "$form" "${1:-$work/form.png}" check_skinned_form
  # Enter in the focused product field presses the default button, "Print Registration...".
  xdotool windowfocus --sync "$form" key Return
}

expect_dialog() {
  local n="$1" expected="$2" got
  got=$(wait_dialog "$n") || fail "dialog $n never appeared (expected: $expected)"
  [ "$got" = "$expected" ] || fail "dialog $n: expected '$expected', got '$got'"
}

expect_result_ok() {
  grep -qx 'result 1' "$work/driver.log" || fail "the form did not close with OK"
}

# After a failed print the form stays open with everything typed, for another try; here the
# buyer gives up with Esc, which a form that had closed with OK would never see.
cancel_after_failed_print() {
  local form
  form=$(wait_window '^Registration Information$') || fail "the registration form closed after the failed print"
  xdotool windowfocus --sync "$form" key Escape
  wait_driver
  grep -qx 'result 2' "$work/driver.log" ||
    fail "the form did not stay open after the failed print: $(grep '^result ' "$work/driver.log")"
}

# --- case 1: no default printer -----------------------------------------------------------
t=$(date +%s%N)
export CUPS_SERVER="$work/cups/no-such-server.sock"
start_driver
press_print ""
expect_dialog 1 "Error|There is no default printer. Install a printer or choose a default printer, then print the registration again."
answer Error Return
cancel_after_failed_print
! grep -q '^page ' "$work/driver.log" || fail "a document was begun without a printer"
[ -z "$(ls -A "$work/pdf")" ] || fail "something was printed without a printer"
wineserver -k >/dev/null 2>&1 || true
echo "no default printer: clear error, nothing printed, form stayed open ($(elapsed "$t") ms)"

# --- the private CUPS daemon with its PDF printer ---------------------------------------------
t=$(date +%s%N)
cat > "$work/cups/cupsd.conf" <<EOF
Listen $socket
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
MaxJobs 0
PreserveJobHistory Yes
<Location />
  Order allow,deny
  Allow all
</Location>
EOF
cat > "$work/cups/cups-files.conf" <<EOF
ServerRoot $cupsdir
RequestRoot $cupsdir/spool
TempDir $cupsdir/spool/tmp
CacheDir $cupsdir/cache
StateDir $cupsdir/state
DataDir /usr/share/cups
ServerBin /usr/lib/cups
ErrorLog $cupsdir/logs/error_log
AccessLog $cupsdir/logs/access_log
PageLog $cupsdir/logs/page_log
FileDevice No
Sandboxing Relaxed
EOF
printf 'Out %s\nLabel 0\nLog %s\nLogType 1\n' "$work/pdf" "$work/cups/logs" > "$pdfconf"
cupsd -f -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf" > "$work/cups/logs/cupsd.out" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER="$socket"
# (lpstat -r succeeds either way; what it says tells.)
cupsd_answers() {
  [ "$(LC_ALL=C lpstat -r 2>/dev/null)" = "scheduler is running" ] && return 0
  kill -0 "$cupsd_pid" 2>/dev/null || fail "cupsd did not start: $(cat "$work/cups/logs/cupsd.out")"
  return 1
}
e2e_until "$e2e_limit" cupsd_answers || fail "cupsd does not answer on $socket"
# (lpadmin warns that printer drivers are deprecated; the warning goes to the log.)
# A daemon that has just begun to answer may still drop a connection while it settles ("Unable
# to connect to server" once on a busy machine): adding the printer is tried again for a while.
added=""
for _ in $(seq 1 50); do
  if lpadmin -p "$queue" -E -v "cups-pdf:/$instance" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
       2> "$work/cups/logs/lpadmin.err"; then
    added=1
    break
  fi
  grep -q "Unable to connect" "$work/cups/logs/lpadmin.err" || break
  sleep 0.2
done
[ -n "$added" ] || fail "cannot add the PDF printer: $(cat "$work/cups/logs/lpadmin.err")"
lpadmin -d "$queue" || fail "cannot make the PDF printer the default"
echo "CUPS with a PDF printer ready ($(elapsed "$t") ms)"

# Waits for the queue to be empty; the PDF is complete only then (the PDF filter can take over a
# minute on a loaded machine).
queue_empty() { [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; }
wait_queue_empty() {
  e2e_until $(( 3 * e2e_limit )) queue_empty && return 0
  # Say where the job stands, so that a stuck queue explains itself.
  {
    echo "--- printer: $(lpstat -p "$queue" 2>&1)"
    echo "--- CUPS error log (last lines):"
    tail -n 20 "$work/cups/logs/error_log" 2>/dev/null
    echo "--- PDF backend log (last lines):"
    tail -n 20 "$work/cups/logs/cups-pdf-${queue}_log" 2>/dev/null
  } >&2
  fail "the print job never finished: $(lpstat -o "$queue")"
}
completed_jobs() { lpstat -W completed -o "$queue" 2>/dev/null | wc -l; }

# --- case 2: the card, printed ------------------------------------------------------------
t=$(date +%s%N)
start_driver
press_print registration-form.png
# Yes to the Americas, No to "Are you sure?" (the focus is on No), asked again: No, then Yes.
americas="Question|Do you live in North, Central, or South America?"
expect_dialog 1 "$americas"
answer Question Return
expect_dialog 2 "Question|You answered that you live in North, Central, or South America.  Are you sure?"
answer Question Return
expect_dialog 3 "$americas"
answer Question n
expect_dialog 4 "Question|You answered that you DO NOT live in North, Central,  or South America.  Are you sure?"
answer Question y
wait_driver
expect_result_ok
grep -qx 'ended' "$work/driver.log" || fail "the document was not ended"
[ "$(grep -c '^dialog ' "$work/driver.log")" -eq 4 ] || fail "unexpected dialogs"
wait_queue_empty
[ "$(completed_jobs)" -eq 1 ] || fail "expected one completed job, found $(completed_jobs)"
shopt -s nullglob
pdfs=("$work/pdf"/*.pdf)
[ ${#pdfs[@]} -eq 1 ] || fail "expected one PDF, found ${#pdfs[@]}"
pdf="${pdfs[0]}"
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "$pages" = 1 ] || fail "the card has $pages pages"
doctitle=$(pdfinfo "$pdf" | sed -n 's/^Title: *//p')
[ -z "$doctitle" ] || fail "the document has a name: '$doctitle'"
pdftotext -bbox "$pdf" "$work/card.html"
pdftoppm -r "$(awk '/^page /{print $4; exit}' "$work/driver.log")" -gray "$pdf" "$work/card"
python3 - "$work/driver.log" "$work/card.html" "$work"/card*.pgm <<'PY' || fail "the printed card is not as laid out"
import html, re, sys

log, bbox, raster = sys.argv[1], sys.argv[2], sys.argv[3]
lines = open(log, encoding="latin-1").read().splitlines()
page = next(l.split()[1:] for l in lines if l.startswith("page "))
W, H, dpix, dpiy, offx, offy = map(int, page)
extents = {}
for l in lines:
    if l.startswith("extent "):
        text, size = l[len("extent "):].rsplit("|", 1)
        extents.setdefault(text, tuple(map(int, size.split())))
cx, cy = extents["X"]
seal_h = extents["-- 3. Seal edges together --"][1]
info = {k: v for k, v in (l.split(" ", 1) for l in lines if l.split(" ", 1)[0] in ("date", "os", "ram"))}

def px(d): return (d + offx) * 72.0 / dpix
def py(d): return (d + offy) * 72.0 / dpiy
cy_pt = cy * 72.0 / dpiy

words = []
for m in re.finditer(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>',
                     open(bbox, encoding="utf-8").read()):
    x0, y0, x1, y1 = map(float, m.groups()[:4])
    # The printer's font names its hyphen so that text extraction reads a soft hyphen.
    text = html.unescape(m.group(5)).replace("\u00ad", "-").replace("\u2010", "-").replace("\u2212", "-")
    words.append((x0, y0, x1, y1, text))

problems = []
offsets = []  # glyph top below the text's top, for every 12-point line

def run_at(expected, xd, yd, centred=False, size=12, record=True):
    """The words of one printed line: starting at device x (or centred on the page), top at device y."""
    target = expected.replace(" ", "")
    top = py(yd)
    reach = 0.5 * cy_pt * size / 12
    for s in sorted(words):
        if not (0 <= s[1] - top <= reach):
            continue
        if not centred and abs(s[0] - px(xd)) > 1.5:
            continue
        row = sorted(w for w in words if abs(w[1] - s[1]) < 0.3 and w[0] >= s[0] - 0.01)
        acc, run = "", []
        for w in row:
            acc += w[4]
            run.append(w)
            if acc == target:
                if centred and abs((run[0][0] + run[-1][2]) / 2 - px(W / 2)) > 2:
                    break
                if record and size == 12:
                    offsets.append(run[0][1] - top)
                return run
            if not target.startswith(acc):
                break
    problems.append(f"'{expected}' not found at device ({'centre' if centred else xd}, {yd})")
    return None

def gaps(run):
    return [b[0] - a[2] for a, b in zip(run, run[1:])]

# Title, 20 points, at (2cx, 0).
run_at("Zelvo Product Registration", 2 * cx, 0, size=20)

# Answers at x = 2cx from y = 2cy, a line each, no gaps for the unanswered.
answers = ["Product: Zelvo Notes", "Age: 36", "Sex: F", "Phone: +44 20 7946 0018", "E-mail: ada@example.org",
           "Where purchased: Corner Computer Shop", "Store Type: Independent",
           "Date purchased: " + info["date"], "Computer type: Analytical Engine",
           "Operating system: " + info["os"], "RAM: " + info["ram"]]
for n, text in enumerate(answers, start=1):
    run_at(text, 2 * cx, cy * (n + 1))

# Comments: heading at (W/2, 2cy), lines from 3cy; a typed line break starts a new line.
run_at("Comments:", W // 2, 2 * cy)
comment_rows = []
k = 3
while True:
    top = py(cy * k)
    row = sorted(w for w in words if w[0] >= px(W // 2) - 1 and 0 <= w[1] - top <= 0.5 * cy_pt)
    if not row:
        break
    if abs(row[0][0] - px(W // 2)) > 1.5:
        problems.append(f"comment line {k - 2} starts at {row[0][0]:.1f} pt, not at the column")
    if row[-1][2] > px(W) + 0.5:
        problems.append(f"comment line {k - 2} runs past the page")
    offsets.append(row[0][1] - top)
    comment_rows.append(row)
    k += 1
typed = ("The engine weaves algebraic patterns just as the Jacquard loom weaves flowers and leaves, "
         "and the registration card should say so in a column of its own.", "A second paragraph.")
texts = ["".join(w[4] for w in row) for row in comment_rows]
if "".join(texts) != "".join(typed).replace(" ", ""):
    problems.append(f"comment lines {texts}")
elif not texts[-1] == typed[1].replace(" ", "") or len(texts) < 3:
    problems.append(f"the typed line break does not start a line of its own, or nothing wrapped: {texts}")
for row in comment_rows[:-2]:
    # A wrapped line is filled: the next word would not have fitted in half the page.
    if row[-1][2] - px(W // 2) < 0.35 * (px(W) - px(W // 2)):
        problems.append("a wrapped comment line is far too short")

# Fold marks: dash rows at H/3 and 2H/3 + 2cy, narrower than the page; the instructions centred.
for yd in (H // 3, 2 * H // 3 + 2 * cy):
    row = [w for w in words if set(w[4]) == {"-"} and 0 <= w[1] - py(yd) <= 0.5 * cy_pt]
    if len(row) != 1 or abs(row[0][0] - px(0)) > 1.5 or not (px(W) - 12 < row[0][2] <= px(W) + 0.5):
        problems.append(f"dash row at device y {yd}: {[(round(w[0], 1), round(w[2], 1)) for w in row]}")
    else:
        offsets.append(row[0][1] - py(yd))
run_at("1. Fold away from you here", 0, H // 3 - cy, centred=True)
run_at("2. Fold away from you here", 0, 2 * H // 3 + 3 * cy, centred=True)
run_at("-- 3. Seal edges together --", 0, H - seal_h, centred=True)

# Sender at x = 2cx from H/3 + 2cy; two blanks before the postal code.
sender = ["Ada Lovelace", "12 St James's Square", "Flat 3", "London, LDN  SW1Y 4LB", "United Kingdom"]
for n, text in enumerate(sender, start=1):
    run = run_at(text, 2 * cx, H // 3 + cy * (n + 1))
    if run and text.startswith("London"):
        one, two, _ = gaps(run)
        if not two > 1.6 * one:
            problems.append(f"the city line's gaps {one:.2f} and {two:.2f} pt do not show one and two blanks")

# Destination: the European office (the answer was No, confirmed), at x = 2W/5 from H/3 + 10cy.
europe = ["Zelvo Europe, Ltd.", "Unit 7, Mill Lane", "Brookfield Industrial Estate",
          "Thornbury, Gloucestershire  BS35 9ZZ", "United Kingdom"]
for n, text in enumerate(europe, start=1):
    run_at(text, 2 * W // 5, H // 3 + cy * (n + 9))
if any(w[4] in ("Madison,", "Customer") for w in words):
    problems.append("the Americas office was printed too")

# Stamp words centred on one axis, 10 units below the box's top and a line apart.
centres = []
for n, word in enumerate(["Place", "Stamp", "Here"], start=1):
    yd = H // 3 + 10 + cy * (n + 1)
    hit = [w for w in words if w[4] == word and 0 <= w[1] - py(yd) <= 0.5 * cy_pt and w[0] > px(W // 2)]
    if len(hit) != 1:
        problems.append(f"stamp word {word} not at device y {yd}")
    else:
        centres.append((hit[0][0] + hit[0][2]) / 2)
        offsets.append(hit[0][1] - py(yd))
if len(centres) == 3 and max(centres) - min(centres) > 1.0:
    problems.append(f"stamp words not centred on one axis: {centres}")

# The stamp box's outline: a thin black frame from (W - 2cx - 20 - m, H/3 + 2cy) to
# (W - 2cx, H/3 + 5cy + 20), read from the page rendered at the printer's resolution.
with open(raster, "rb") as f:
    assert f.readline().strip() == b"P5"
    line = f.readline()
    while line.startswith(b"#"):
        line = f.readline()
    rw, rh = map(int, line.split())
    f.readline()
    pix = f.read()
def dark(x, y): return pix[(y + offy) * rw + x + offx] < 128
right, top, bottom = W - 2 * cx, H // 3 + 2 * cy, H // 3 + 5 * cy + 20
# Its left edge, found on a row between the top edge and the first word (10 units below it).
left = next((x for x in range(right - 3, right - 40 * cx, -1) if dark(x, top + 5)), None)
if left is None:
    problems.append("no stamp box outline")
else:
    for name, pts in (("top", [(x, top) for x in range(left + 2, right - 2)]),
                      ("bottom", [(x, bottom - 1) for x in range(left + 2, right - 2)]),
                      ("left", [(left, y) for y in range(top + 2, bottom - 2)]),
                      ("right", [(right - 1, y) for y in range(top + 2, bottom - 2)])):
        hits = sum(dark(x, y) or dark(x, y - 1) or dark(x, y + 1) or dark(x - 1, y) or dark(x + 1, y) for x, y in pts)
        if hits < 0.95 * len(pts):
            problems.append(f"stamp box {name} edge incomplete ({hits}/{len(pts)})")

if offsets and max(offsets) - min(offsets) > 0.6:
    problems.append(f"12-point lines are not where their tops say: offsets {min(offsets):.2f}..{max(offsets):.2f} pt")

for p in problems:
    print("  " + p)
print(f"  checked {len(offsets)} lines of the card on a {W} x {H} page at {dpix} dpi (cx {cx}, cy {cy})")
sys.exit(1 if problems else 0)
PY
echo "card printed and checked: $pdf ($(elapsed "$t") ms)"

# --- case 3: the printer fails in the middle of the job -----------------------------------------
t=$(date +%s%N)
before=$(completed_jobs)
start_driver fail-mid-job
press_print ""
expect_dialog 1 "$americas"
answer Question Return
expect_dialog 2 "Question|You answered that you live in North, Central, or South America.  Are you sure?"
answer Question y
expect_dialog 3 "Error|The printer stopped in the middle of the registration card."
answer Error Return
cancel_after_failed_print
grep -qx 'aborted' "$work/driver.log" || fail "the document was not aborted"
! grep -qx 'ended' "$work/driver.log" || fail "the failed document was ended"
# (A job the driver handed over before it ended is in the queue by now.)
wait_queue_empty
[ "$(completed_jobs)" -eq "$before" ] || fail "the aborted card reached the printer"
pdfs=("$work/pdf"/*.pdf)
[ ${#pdfs[@]} -eq 1 ] || fail "the aborted card produced a PDF"
echo "failure in the middle of the job: document aborted, error shown, form stayed open ($(elapsed "$t") ms)"

echo "PASS (print e2e, $(elapsed "$started") ms in all)"
