#!/usr/bin/env bash
# The Windows program in a real window under Wine and Xvfb, without and with a
# window manager: the menu, a game with a shot, Escape, "Ende", status 0, the
# event log of the run, and the sound it played. Usage: window_wine.sh WINDOWS_EXE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the window and the screen.
set -euo pipefail
source "$(dirname "$0")/../lib/window.bash"
window_test window_wine "$1" xdotool import
wine_launcher

drive() {
  local with_wm="$1"
  [ "$with_wm" = no ] || start_openbox
  start_program "run-$with_wm" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/mix-$with_wm.raw" \
    --windowed --events "$work/log-$with_wm.jsonl"
  measure
  click_at 320 250 1.5      # "Spiel starten"
  click_at 300 200          # a shot
  [ -z "$shots" ] || screenshot window "$shots/wine-game-$with_wm.png"
  [ -z "$shots" ] || screenshot root "$shots/wine-screen-$with_wm.png"
  xdotool key --window "$wid" Escape
  sleep 1.5                 # the high-score screen
  xdotool key --window "$wid" Escape
  sleep 1
  click_at 320 400          # "Ende"
  ends_after '"Ende"'
}

# The screens in order, a shot fired (a hit or a miss), and the end.
expected='"screen","name":"menu"
"screen","name":"game"
"game-end","reason":"escape"
"screen","name":"highscores"
"highscores","action":"saved"
"screen","name":"menu"
"exit","code":0'
steps() { grep -o '"\(screen\|game-end\|highscores\|exit\)","[a-z]*":[a-z0-9"]*' "$1"; }
for with_wm in no yes; do
  log="$work/log-$with_wm.jsonl"
  in_x_server 1024x768 drive "$with_wm" ||
    failed "status $? (window manager: $with_wm)" "$work/run-$with_wm.err" "$log"
  [ "$(steps "$log")" = "$expected" ] && grep -q '"event":"sound"' "$log" ||
    failed "unexpected event log (window manager: $with_wm):" "$log"
done
# The shot and the splats were heard through SDL's Windows audio path, and the
# mix did not clip.
/usr/bin/python3 - "$work"/mix-*.raw <<'CHECK'
import sys
import numpy as np
for raw in sys.argv[1:]:
    mix = np.abs(np.fromfile(raw, dtype="<i2").astype(np.int32))
    if mix.max() < 4000 or (mix >= 32767).any():
        sys.exit(f"window_wine: FAILED, {raw}: peak {mix.max()}, {(mix >= 32767).sum()} clipped")
CHECK
echo "window_wine: passed"
