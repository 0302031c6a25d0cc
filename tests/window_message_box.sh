#!/usr/bin/env bash
# Message boxes in the game's window under Xvfb with openbox: the high-score
# folder that does not exist gives a box over the dimmed screen, confirmed
# with Enter; a SIGTERM while a box is open ends the program at once, as OK
# and a close would (status 0 after the high-score box, 1 after "Audiohardware
# nicht gefunden !"). Usage: window_message_box.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the boxes.
set -euo pipefail

exe="$(realpath "$1")"
for tool in xvfb-run xdotool openbox import; do
  if ! command -v "$tool" >/dev/null; then
    echo "window_message_box: SKIPPED, $tool is not installed (scripts/install-deps installs it)"
    exit 0
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat >"$work/box.py" <<'BOX'
# box.py SHOT.png: a box stands in the middle of the 640x480 window: a light
# body, a dark blue title bar above it, and the dimmed picture around.
import sys
import numpy as np
from PIL import Image
p = np.asarray(Image.open(sys.argv[1]).convert("RGB")).astype(int)
body = p[200:260, 200:440].reshape(-1, 3)
light = ((body > 200).all(axis=1)).mean()
title_rows = [y for y in range(100, 240) if (np.abs(p[y, 170:190] - [38, 56, 104]).max(axis=1) < 12).all()]
corner = p[5:60, 5:60].max()
print(f"light {light:.2f} title rows {len(title_rows)} corner {corner}")
sys.exit(0 if light > 0.7 and len(title_rows) >= 20 and corner < 140 else 1)
BOX

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
exe="$1"; work="$2"; shots="$3"
cd "$work"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
fail() { echo "window_message_box: $1"; kill "$wm" 2>/dev/null || true; exit 1; }

start() {  # name, then environment assignments
  local name="$1"; shift
  # A shell without job control starts its background commands with SIGINT
  # ignored; a terminal's Ctrl+C is what is meant here, so it is put back.
  env "$@" /usr/bin/python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.execv(sys.argv[1], sys.argv[1:])' "$exe" --windowed --events "$work/$name.jsonl" >"$work/$name.out" 2>"$work/$name.err" &
  pid=$!
  wid=""
  for _ in $(seq 300); do
    wid="$(xdotool search --onlyvisible --pid "$pid" --name 'wenschuss' 2>/dev/null | head -n1 || true)"
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || fail "$name: no window appeared"
  sleep 1
}
click() { xdotool mousemove --window "$wid" "$1" "$2"; sleep 0.3; xdotool click 1; sleep 1; }
wait_box() {
  for _ in $(seq 50); do
    grep -q '"messagebox"' "$work/$1.jsonl" && { sleep 0.7; return 0; }
    sleep 0.1
  done
  fail "$1: no message box was shown"
}
look() {
  import -window "$wid" "$work/$1.png"
  [ -z "$shots" ] || cp "$work/$1.png" "$shots/messagebox-$1.png"
  /usr/bin/python3 "$work/box.py" "$work/$1.png" || fail "$1: the box is not drawn in the window"
}
# Ends within 2 s of the signal, with that status.
ends_with() {
  local name="$1" status="$2" got=0
  for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && { kill -KILL "$pid"; fail "$name: still running 2 s later"; }
  wait "$pid" || got=$?
  [ "$got" = "$status" ] || fail "$name: status $got, not $status"
}

# The folder is missing: the box comes when the high-score screen is left.
start missing SDL_AUDIODRIVER=dummy OEDIR="$work/gibt-es-nicht/"
click 320 350                 # "Highscores"
xdotool key --window "$wid" Escape
wait_box missing
look highscores-folder
xdotool key --window "$wid" Return
sleep 1
# The program may be gone before the key's release reaches the window.
xdotool key --window "$wid" Escape || true
ends_with missing 0

# The same box, and SIGTERM while it is open.
start term SDL_AUDIODRIVER=dummy OEDIR="$work/gibt-es-nicht/"
click 320 350
xdotool key --window "$wid" Escape
wait_box term
kill -TERM "$pid"
ends_with term 0

# No sound: the box comes when a game starts; SIGINT while it is open.
start audio SDL_AUDIODRIVER=gibt-es-nicht OEDIR="$work/"
click 320 250                 # "Spiel starten"
wait_box audio
look no-audio
kill -INT "$pid"
ends_with audio 1
kill "$wm" 2>/dev/null || true
DRIVE

status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/drive.sh" "$exe" "$work" \
  "${MW_SMOKE_SHOTS:-}" || status=$?
if [ "$status" -ne 0 ]; then
  echo "window_message_box: FAILED"
  for f in "$work"/*.err "$work"/*.jsonl; do echo "== $f"; cat "$f"; done 2>/dev/null || true
  exit 1
fi

strip() { sed 's/^{"t":[0-9]*,//' "$work/$1.jsonl"; }
box='"event":"messagebox","title":"Highscores","text":"Die Highscores können nicht in „'"$work"'/gibt-es-nicht/highscores.pdk“ gespeichert werden: Der Ordner existiert nicht.\nDie bisherige Datei bleibt unverändert."}'
saved='"event":"highscores","action":"failed","path":"'"$work"'/gibt-es-nicht/highscores.pdk"}'
expect() {
  if [ "$(strip "$1")" != "$2" ]; then
    echo "window_message_box: FAILED, unexpected event log of the $1 run:"; cat "$work/$1.jsonl"
    exit 1
  fi
}
menu='"event":"screen","name":"menu"}'
expect missing "$menu
\"event\":\"screen\",\"name\":\"highscores\"}
$saved
$box
$menu
\"event\":\"exit\",\"code\":0}"
expect term "$menu
\"event\":\"screen\",\"name\":\"highscores\"}
$saved
$box
$menu
\"event\":\"exit\",\"code\":0}"
expect audio "$menu
\"event\":\"messagebox\",\"title\":\"Möwenschuss\",\"text\":\"Audiohardware nicht gefunden !\"}
\"event\":\"exit\",\"code\":1}"
echo "window_message_box: passed"
