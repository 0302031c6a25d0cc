#!/usr/bin/env bash
# A real window under Xvfb with a window manager (openbox), played through
# xdotool and recorded: Alt+Enter in the menu switches the window and starts
# nothing; then the settings, a game with shots, the high-score screen with a
# name typed quickly, "Ende". The recording replayed without a window, and
# watched in a window, must give the same event log, byte for byte.
# Usage: window_record_replay.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the window and the X screen.
set -euo pipefail
source "$(dirname "$0")/lib/window.bash"
window_test window_record_replay "$1" xdotool openbox import
mkdir "$work/scores"

drive() {
  start_openbox
  shot() {
    [ -n "$shots" ] || return 0
    screenshot root "$shots/$1-screen.png"
    screenshot window "$shots/$1-window.png"
  }
  screens() { grep -c "\"name\":\"$1\"" "$work/played.jsonl" || true; }

  start_program played OEDIR="$work/scores/" --windowed --events "$work/played.jsonl" \
    --record "$work/game.rec"
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
    screenshot window "$work/aim.png"
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
  ends_after '"Ende"'

  # Watched in a window at the recorded pace, the replay logs the same.
  "$exe" --replay "$work/game.rec" --windowed --events "$work/watched.jsonl" \
    >>"$work/played.out" 2>>"$work/played.err"
}

fail() {
  grep -v '"sound"' "$work/played.jsonl" >"$work/played-without-sounds.jsonl" 2>/dev/null || true
  failed "$1" "$work/played.err" "$work/played-without-sounds.jsonl"
}
in_x_server 1280x1024 drive || fail "the window run ended with status $?"

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
  2>>"$work/played.err" || fail "the replay without window failed"
cmp -s "$work/played.jsonl" "$work/replayed.jsonl" || fail "the replay logged other events"
cmp -s "$work/played.jsonl" "$work/watched.jsonl" || fail "the watched replay logged other events"
echo "window_record_replay: passed ($(wc -c <"$work/game.rec") bytes recorded)"
