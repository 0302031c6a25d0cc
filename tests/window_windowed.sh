#!/usr/bin/env bash
# A window on a larger desktop (1024x768), without a window manager and with
# openbox. A pointer beside the window is no pointer of the game's: before it
# ever came in, the game sees it in the picture's middle, so Enter starts a
# game, and the game starts with the crosshair there, not at the window's
# edge; after it left, the line it left stays chosen. Over a black bar inside
# the window it still counts at the picture's edge. The window's icon is the
# square game icon. Usage: window_windowed.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the window and the X screen.
set -euo pipefail
source "$(dirname "$0")/lib/window.bash"
window_test window_windowed "$1" xdotool openbox import xwininfo xprop

# The menu with the pointer in the picture's middle, over "Spiel starten".
printf '0 mouse 320 240\n100 shot menu\n200 close\n' >"$work/menu.txt"
"$exe" --headless "$work/menu.txt" --shots "$work" >/dev/null

drive() {
  variant="$1"
  [ "$variant" = bare ] || start_openbox
  fail() { echo "window_windowed ($variant): $1"; exit 1; }
  shot() {  # NAME: the window for the checks, and the X screen when kept
    screenshot window "$work/$1.png"
    keep_shot "$work/$1.png" "windowed-$variant-$1.png"
    [ -z "$shots" ] || screenshot root "$shots/windowed-$variant-$1-screen.png"
  }
  # beside ROW: the pointer left of the window, level with picture row ROW.
  beside() {
    xdotool mousemove 5 "$(awk -v r="$1" -v s="$scale" -v o="$oy" -v y="$WY" \
      'BEGIN { printf "%d", y + o + (r + 0.5) * s }')"
    sleep 0.5
  }
  screens() { grep -o '"event":"screen","name":"[a-z]*"\|"event":"exit","code":[0-9]*' "$work/log-$variant.jsonl"; }

  xdotool mousemove 5 384   # where the window will not be
  start_program "$variant" --windowed --events "$work/log-$variant.jsonl" || fail "no window appeared"
  locate
  [ "$WX" -gt 20 ] || fail "the window at x $WX leaves no room beside it"

  read -r icon_width icon_height < <(xprop -id "$wid" -notype 32c _NET_WM_ICON |
    awk -F'[=,]' '{ printf "%d %d\n", $2, $3 }')
  [ "$icon_width" -ge 32 ] && [ "$icon_width" = "$icon_height" ] ||
    fail "the window's icon is ${icon_width}x${icon_height}, not the square game icon"

  beside 400                # level with "Ende"
  shot outside
  same_picture "$work/outside.png" "$work/menu.png" 0.01 ||
    fail "with the pointer beside the window the menu is not drawn as with it in the middle"
  xdotool key Return
  sleep 1.5
  screens | grep -q '"name":"game"' || fail "Enter with the pointer beside the window started no game"
  # The game holds the pointer in the window: it is put where the game saw it.
  pointer_near 320 240 2 || fail "the game started with the pointer on picture pixel ($gx, $gy), not (320, 240)"
  shot game
  xdotool key Escape
  sleep 1
  xdotool key Escape        # the high-score table
  sleep 1

  move_to 320 300           # "Einstellungen"
  sleep 0.5
  beside 400
  xdotool key Return
  sleep 1
  xdotool key Escape
  sleep 1

  # Black bars beside the picture, 130 pixels wide: over the left one, level
  # with "Ende", the pointer counts at the picture's left edge.
  xdotool windowsize "$wid" 900 480
  sleep 1
  locate
  [ "$ox" -gt 100 ] || fail "the window of 900x480 has no bars beside the picture"
  xdotool mousemove "$((WX + ox / 2))" "$(awk -v s="$scale" -v o="$oy" -v y="$WY" \
    'BEGIN { printf "%d", y + o + 400.5 * s }')"
  sleep 0.5
  shot bar
  xdotool key Return
  ended_within 10 || fail "Enter on \"Ende\", chosen from the bar, did not end the program"
  wait "$pid" || fail "the program ended with status $?"

  expected='"event":"screen","name":"menu"
"event":"screen","name":"game"
"event":"screen","name":"highscores"
"event":"screen","name":"menu"
"event":"screen","name":"settings"
"event":"screen","name":"menu"
"event":"exit","code":0'
  [ "$(screens)" = "$expected" ] || fail "unexpected screens: $(screens | tr '\n' ' ')"
}

for variant in bare openbox; do
  in_x_server 1024x768 drive "$variant" || failed "($variant)" "$work/$variant.err" "$work/log-$variant.jsonl"
done
echo "window_windowed: passed (without a window manager and with openbox)"
