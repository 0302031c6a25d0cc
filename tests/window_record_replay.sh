#!/usr/bin/env bash
# A real window under Xvfb with a window manager (openbox), played through
# xdotool and recorded: Alt+Enter in the menu switches the window and starts
# nothing; then the settings, a game with shots, the high-score screen with a
# name typed quickly, "Ende". The recording replayed without a window, and
# watched in a window, must give the same event log, byte for byte.
# Usage: window_record_replay.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the window and the X screen.
set -euo pipefail

exe="$(realpath "$1")"
for tool in xvfb-run xdotool openbox import; do
  if ! command -v "$tool" >/dev/null; then
    echo "window_record_replay: SKIPPED, $tool is not installed (scripts/install-deps installs it)"
    exit 0
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/scores"

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
exe="$1"; work="$2"; shots="${3:-}"
cd "$work"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
# Leak checking is left off: a real X11 window brings system libraries whose
# own allocations outlive the program.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export SDL_AUDIODRIVER=dummy OEDIR="$work/scores/"
"$exe" --windowed --events "$work/played.jsonl" --record "$work/game.rec" \
  >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

find_window() {
  wid=""
  for _ in $(seq 300); do
    wid="$(xdotool search --onlyvisible --pid "$pid" --name 'wenschuss' 2>/dev/null | head -n1 || true)"
    [ -n "$wid" ] && return 0
    sleep 0.1
  done
  echo "window_record_replay: no window appeared"; return 1
}
# The 640x480 picture is scaled to the window with its aspect kept.
measure() {
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  read -r scale ox oy < <(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
    s = w / 640; if (h / 480 < s) s = h / 480;
    printf "%f %d %d\n", s, (w - 640 * s) / 2, (h - 480 * s) / 2 }')
}
move_to() {  # a pixel of the game's 640x480 picture
  local x y
  x="$(awk -v v="$1" -v s="$scale" -v o="$ox" 'BEGIN { printf "%d", o + v * s }')"
  y="$(awk -v v="$2" -v s="$scale" -v o="$oy" 'BEGIN { printf "%d", o + v * s }')"
  xdotool mousemove --window "$wid" "$x" "$y"
}
click_at() { move_to "$1" "$2"; sleep 0.3; xdotool click 1; sleep 0.6; }
shot() {
  [ -n "$shots" ] || return 0
  import -window root "$shots/$1-screen.png"
  import -window "$wid" "$shots/$1-window.png"
}
screens() { grep -c "\"name\":\"$1\"" "$work/played.jsonl" || true; }

find_window
sleep 1
measure
move_to 320 100
sleep 0.3
# Alt+Enter switches to full screen and back; the Enter in it is no confirm.
xdotool key --window "$wid" alt+Return
sleep 1.5
shot fullscreen
xdotool key --window "$wid" alt+Return
sleep 1.5
if [ "$(screens game)" != 0 ]; then echo "window_record_replay: Alt+Enter started a game"; exit 1; fi
measure

click_at 320 300          # "Einstellungen"
click_at 320 150          # "Möven: " mittel -> viele
xdotool key --window "$wid" Escape
sleep 0.8
click_at 320 250          # "Spiel starten"
sleep 1
# Aims at a gull seen on the screen (its white wings against the evening
# sky), so the score rises and the name can be typed.
for _ in $(seq 8); do
  import -window "$wid" "$work/aim.png"
  target="$(/usr/bin/python3 - "$work/aim.png" <<'AIM'
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
w, h = image.size
pixels = image.load()
for y in range(h // 20, h * 4 // 10, 2):
    for x in range(w // 20, w * 19 // 20, 2):
        r, g, b = pixels[x, y]
        if r > 235 and g > 235 and b > 235:
            print(x, y)
            sys.exit(0)
AIM
)"
  [ -n "$target" ] || continue
  read -r tx ty <<<"$target"
  xdotool mousemove --window "$wid" "$tx" "$ty" click 1
  sleep 0.3
done
shot game
xdotool key --window "$wid" Escape
sleep 1
shot highscores
# Typed 12 ms apart: every letter between two passes counts.
xdotool type --window "$wid" --delay 12 "abcdefghijklmnopqrstuvwxyz"
sleep 0.5
xdotool key --window "$wid" Return
sleep 1
click_at 320 400          # "Ende"

for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "window_record_replay: the program did not end after \"Ende\""; kill "$pid"; exit 1
fi
wait "$pid"

# Watched in a window at the recorded pace, the replay logs the same.
"$exe" --replay "$work/game.rec" --windowed --events "$work/watched.jsonl" \
  >>"$work/out.txt" 2>>"$work/err.txt"
kill "$wm" 2>/dev/null || true
DRIVE

status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/drive.sh" "$exe" "$work" \
  "${MW_SMOKE_SHOTS:-}" || status=$?
fail() {
  echo "window_record_replay: FAILED, $1"
  cat "$work/err.txt" 2>/dev/null || true
  grep -v '"sound"' "$work/played.jsonl" 2>/dev/null || true
  exit 1
}
[ "$status" -eq 0 ] || fail "the window run ended with status $status"

grep -q '"name":"game"' "$work/played.jsonl" || fail "no game was played"
grep -q '"action":"saved"' "$work/played.jsonl" || fail "the table was not saved"
# A hit puts the score into the table, and every letter typed 12 ms apart is
# in the name (the name holds 18).
if grep -q '"event":"message","text":"[0-9]' "$work/played.jsonl"; then
  names="$(/usr/bin/python3 - "$work/scores/highscores.pdk" <<'NAMES'
import sys
data = open(sys.argv[1], "rb").read()
plain = bytes(b ^ ((i + 1) & 0xFF) for i, b in enumerate(data))
at = 0
while at < len(plain):
    record = plain[at:at + plain[at]]
    key = sum(record[-4:]) & 0xFF
    print(bytes(b ^ key for b in record[2:-4]).decode("cp1252"))
    at += max(plain[at], 1)
NAMES
)"
  grep -qx "abcdefghijklmnopqr" <<<"$names" || fail "the typed name is not in the table: $names"
else
  echo "window_record_replay: no gull was hit, the name entry was not checked"
fi
"$exe" --replay "$work/game.rec" --no-window --events "$work/replayed.jsonl" \
  2>>"$work/err.txt" || fail "the replay without window failed"
cmp -s "$work/played.jsonl" "$work/replayed.jsonl" || fail "the replay logged other events"
cmp -s "$work/played.jsonl" "$work/watched.jsonl" || fail "the watched replay logged other events"
echo "window_record_replay: passed ($(wc -c <"$work/game.rec") bytes recorded)"
