#!/usr/bin/env bash
# Message boxes in the game's window under Xvfb with openbox: the high-score
# folder that does not exist gives a box over the dimmed screen, confirmed
# with Enter; a SIGTERM while a box is open ends the program at once, as OK
# and a close would (status 0 after the high-score box, 1 after "Audiohardware
# nicht gefunden !"). Usage: window_message_box.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the boxes.
set -euo pipefail
source "$(dirname "$0")/lib/window.bash"
window_test window_message_box "$1" xdotool openbox import

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

drive() {
  fail() { echo "window_message_box: $1"; exit 1; }
  start() {  # name, then environment assignments
    start_program "$@" --windowed --events "$work/$1.jsonl" || fail "$1: no window appeared"
    measure
  }
  # NAME: the high-score screen left where its folder is missing, until the box shows.
  missing_folder_box() {
    start "$1" OEDIR="$work/gibt-es-nicht/"
    click_at 320 350 1      # "Highscores"
    xdotool key --window "$wid" Escape
    wait_box "$1"
  }
  wait_box() {
    for _ in $(seq 50); do
      grep -q '"messagebox"' "$work/$1.jsonl" && { sleep 0.7; return 0; }
      sleep 0.1
    done
    fail "$1: no message box was shown"
  }
  look() {
    screenshot window "$work/$1.png"
    keep_shot "$work/$1.png" "messagebox-$1.png"
    /usr/bin/python3 "$work/box.py" "$work/$1.png" || fail "$1: the box is not drawn in the window"
  }
  # Ends within 2 s of the signal, with that status.
  ends_with() {
    local name="$1" status="$2" got=0
    ended_within 2 || { kill -KILL "$pid"; fail "$name: still running 2 s later"; }
    wait "$pid" || got=$?
    [ "$got" = "$status" ] || fail "$name: status $got, not $status"
  }

  start_openbox
  # The folder is missing: the box comes when the high-score screen is left.
  missing_folder_box missing
  look highscores-folder
  xdotool key --window "$wid" Return
  sleep 1
  # "Ende" with the mouse: a key that ends the program could still be down
  # on the X server when the next run starts, which would end that one too.
  click_at 320 400 0 || true
  ends_with missing 0

  # The same box, and SIGTERM while it is open.
  missing_folder_box term
  kill -TERM "$pid"
  ends_with term 0

  # No sound: the box comes when a game starts; SIGINT while it is open.
  start audio SDL_AUDIODRIVER=gibt-es-nicht
  click_at 320 250 1        # "Spiel starten"
  wait_box audio
  look no-audio
  kill -INT "$pid"
  ends_with audio 1
}

in_x_server 1024x768 drive || failed "the window run ended with status $?" "$work"/*.err "$work"/*.jsonl

box='"event":"messagebox","title":"Highscores","text":"Die Highscores können nicht in „'"$work"'/gibt-es-nicht/highscores.pdk“ gespeichert werden: Der Ordner existiert nicht.\nDie bisherige Datei bleibt unverändert."}'
saved='"event":"highscores","action":"failed","path":"'"$work"'/gibt-es-nicht/highscores.pdk"}'
expect() {
  [ "$(events_of "$work/$1.jsonl")" = "$2" ] ||
    failed "unexpected event log of the $1 run:" "$work/$1.jsonl"
}
menu='"event":"screen","name":"menu"}'
for run in missing term; do  # the box confirmed with Enter, and the box ended by SIGTERM
  expect "$run" "$menu
\"event\":\"screen\",\"name\":\"highscores\"}
$saved
$box
$menu
\"event\":\"exit\",\"code\":0}"
done
expect audio "$menu
\"event\":\"messagebox\",\"title\":\"Möwenschuss\",\"text\":\"Audiohardware nicht gefunden !\"}
\"event\":\"exit\",\"code\":1}"
echo "window_message_box: passed"
