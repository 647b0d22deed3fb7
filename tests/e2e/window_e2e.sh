#!/usr/bin/env bash
# End-to-end test of the installed Quillomar window (issue 3).
#   window_e2e.sh --build-dir DIR --clipboard E2E_CLIPBOARD --artifacts DIR
# Installs the build into a temporary prefix (cmake --install), starts Xvfb on
# a free display, runs PREFIX/bin/Quillomar in a working directory and drives
# it with xdotool: real clicks at the 96-dpi client positions of the controls
# (Start's centre 53,607, Pause's 134,607, ...), real key presses. Checks:
#   1. a missing primes.txt shows the error box, caption "Quillomar", which
#      Return dismisses, and the window stays open;
#   2. a run over 300 primes goes to its end and its report files equal
#      those of the installed quillomar-cli run, byte for byte;
#   3. Pause, then the even-number listing (btnParzyste) until Pause: Odds.txt
#      holds the even numbers, ten to a line;
#   4. typing a number into edtFirst, the arrows, and a sibling search whose
#      edtSibiles text equals `quillomar-cli siblings`.
# Screenshots go to the artifacts directory.
set -euo pipefail

BUILD_DIR= CLIPBOARD= ARTIFACTS=
while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) BUILD_DIR=$2; shift 2 ;;
    --clipboard) CLIPBOARD=$2; shift 2 ;;
    --artifacts) ARTIFACTS=$2; shift 2 ;;
    *) echo "unknown argument $1" >&2; exit 2 ;;
  esac
done
[ -n "$BUILD_DIR" ] && [ -n "$CLIPBOARD" ] && [ -n "$ARTIFACTS" ] || { echo "usage: $0 --build-dir DIR --clipboard EXE --artifacts DIR" >&2; exit 2; }
for tool in Xvfb xdotool xwininfo import cmake; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quillomar-e2e-XXXXXX")
PREFIX=$WORK/prefix
APP_PID= XVFB_PID=
cleanup() {
  set +e
  if [ -n "$APP_PID" ]; then kill "$APP_PID" 2>/dev/null; wait "$APP_PID" 2>/dev/null; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
  rm -rf "$WORK"
  return 0
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; shot "failure" || true; exit 1; }
step() { echo "-- $*"; }

mkdir -p "$ARTIFACTS"
rm -f "$ARTIFACTS"/*.png

step "install into $PREFIX"
cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$WORK/install.log"
for f in bin/Quillomar bin/quillomar-cli share/applications/quillomar.desktop \
         share/icons/hicolor/scalable/apps/quillomar.svg share/icons/hicolor/48x48/apps/quillomar.png; do
  [ -e "$PREFIX/$f" ] || fail "not installed: $f"
done
grep -q '^Exec=Quillomar$' "$PREFIX/share/applications/quillomar.desktop" || fail "desktop entry without Exec=Quillomar"
QUILLOMAR=$PREFIX/bin/Quillomar
CLI=$PREFIX/bin/quillomar-cli

step "without a display the program says so"
set +e
NO_DISPLAY_OUT=$(cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$QUILLOMAR" 2>&1)
NO_DISPLAY_STATUS=$?
set -e
[ "$NO_DISPLAY_STATUS" -ne 0 ] || fail "Quillomar without a display exited with 0"
case $NO_DISPLAY_OUT in *"no display"*"quillomar-cli run"*) ;; *) fail "no-display message: $NO_DISPLAY_OUT" ;; esac
[ ! -e "$WORK/ShortPrimes.txt" ] || fail "Quillomar without a display created report files"

step "start Xvfb"
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -dpi 96 >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 200); do [ -s "$WORK/display" ] && break; sleep 0.05; done
[ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
export DISPLAY=:$(head -1 "$WORK/display")
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
export XDG_RUNTIME_DIR=$WORK/xdg; mkdir -m 700 "$XDG_RUNTIME_DIR"
echo "display $DISPLAY"

shot() { import -window root "$ARTIFACTS/$1.png" 2>/dev/null; }

# Starts the installed program in directory $1 and sets WID to its window.
start_app() {
  (cd "$1" && exec "$QUILLOMAR") >"$WORK/app.log" 2>&1 &
  APP_PID=$!
  WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillomar Magic$' | head -1) || fail "no main window"
  [ -n "$WID" ] || fail "no main window"
  local size
  size=$(xwininfo -id "$WID" | awk '/Width:/{w=$2}/Height:/{h=$2}END{print w"x"h}')
  [ "$size" = "941x630" ] || fail "client area is $size, not 941x630"
  sleep 0.3
}
stop_app() {
  kill "$APP_PID" 2>/dev/null || true
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=
}
# A real click at client position x y of the main window.
click() { xdotool mousemove --window "$WID" "$1" "$2" click 1; sleep 0.15; }
# Centres of the controls at 96 dpi.
START="53 607"; PAUSE="134 607"; PARZYSTE="879 609"
EDT_FIRST="76 511"; LEFT="157 511"; RIGHT="192 511"; SEARCH="250 511"; EDT_SIBILES="480 571"

# The text of a line edit: click it, select all, copy, read the clipboard.
field_text() {
  click $1
  xdotool key --clearmodifiers ctrl+a ctrl+c
  sleep 0.2
  "$CLIPBOARD"
}
type_into() {
  click $1
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 30 "$2"
  sleep 0.2
}
# Waits until the file $1 has $2 lines (max $3 seconds).
wait_lines() {
  local i
  for i in $(seq $(( $3 * 20 ))); do
    [ -f "$1" ] && [ "$(wc -l <"$1")" -ge "$2" ] && return 0
    sleep 0.05
  done
  fail "$1 has $(wc -l <"$1" 2>/dev/null || echo no) lines, expected $2"
}

# 1. The error box.
step "error box for a missing primes.txt"
mkdir "$WORK/empty"
start_app "$WORK/empty"
shot "01-start"
click $START
BOX=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quillomar$' | head -1) || fail "no error box"
shot "02-error-box"
# Its caption is the application title; its text, icon and button are
# checked by the QtTest suite (realMessageBox). Return presses its OK.
[ "$(xdotool getwindowname "$BOX")" = "Quillomar" ] || fail "error box caption"
xdotool windowfocus --sync "$BOX" 2>/dev/null || true
xdotool key --clearmodifiers Return
for _ in $(seq 40); do xdotool search --onlyvisible --name '^Quillomar$' >/dev/null 2>&1 || break; sleep 0.05; done
xdotool search --onlyvisible --name '^Quillomar$' >/dev/null 2>&1 && fail "the error box did not close on Return"
xwininfo -id "$WID" >/dev/null 2>&1 || fail "the window closed after the error"
kill -0 "$APP_PID" || fail "the program ended after the error"
stop_app

# 2. A run over 300 primes to its end.
step "run over 300 primes"
mkdir "$WORK/run" "$WORK/cli"
"$CLI" primes 300 >"$WORK/run/primes.txt"
cp "$WORK/run/primes.txt" "$WORK/cli/primes.txt"
(cd "$WORK/cli" && "$CLI" run >/dev/null)
start_app "$WORK/run"
click $START
wait_lines "$WORK/run/FlowPurePrimes.txt" 299 60
sleep 0.5
shot "03-after-run"
import -window "$WID" "$ARTIFACTS/window.png" 2>/dev/null || true
for f in ShortPrimes LongPrimes FlowPrimes FlowPurePrimes FlowReversePrimes FlowUpPrimes FlowDownPrimes Odds; do
  cmp "$WORK/run/$f.txt" "$WORK/cli/$f.txt" || fail "$f.txt differs from quillomar-cli run's"
done
echo "report files equal quillomar-cli run's"

# 3. Pause, then the even-number listing until Pause.
step "Pause, Parzyste, Pause"
click $PAUSE
click $PARZYSTE
sleep 0.5
click $PAUSE
sleep 0.3
ODDS_LINES=$(wc -l <"$WORK/run/Odds.txt")
[ "$ODDS_LINES" -ge 1 ] || fail "Odds.txt is empty after the listing"
sleep 0.5
[ "$(wc -l <"$WORK/run/Odds.txt")" -eq "$ODDS_LINES" ] || fail "the listing did not stop on Pause"
awk -v n="$ODDS_LINES" 'BEGIN{ for (l = 0; l < n; l++) { s = ""; for (k = 1; k <= 10; k++) s = s " " (2 + 2 * (10 * l + k - 1)); printf "%s\r\n", s } }' >"$WORK/odds.expected"
cmp "$WORK/run/Odds.txt" "$WORK/odds.expected" || fail "Odds.txt does not hold the even numbers ten to a line"
echo "Odds.txt: $ODDS_LINES lines"
shot "04-after-listing"

# 4. The number field, the arrows and the search.
step "arrows and search"
type_into "$EDT_FIRST" "3"
click $RIGHT
[ "$(field_text "$EDT_FIRST")" = "5" ] || fail "Right after 3 did not give 5"
click $LEFT
click $LEFT
[ "$(field_text "$EDT_FIRST")" = "2" ] || fail "Left twice after 5 did not give 2"
type_into "$EDT_FIRST" "3"
click $SEARCH
EXPECTED=$(cd "$WORK/cli" && "$CLI" siblings 3 | sed -n 3p)
GOT=
for _ in $(seq 100); do
  GOT=$(field_text "$EDT_SIBILES")
  [ "$GOT" = "$EXPECTED" ] && break
  sleep 0.1
done
[ "$GOT" = "$EXPECTED" ] || fail "edtSibiles: '$GOT', quillomar-cli siblings 3: '$EXPECTED'"
echo "search for 3: ${#GOT} characters, equal to quillomar-cli siblings 3"
shot "05-after-search"
click $SEARCH   # releases the toggle
stop_app
echo "PASS"
