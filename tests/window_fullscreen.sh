#!/usr/bin/env bash
# Full screen on a 1600x900 X server, without a window manager and with
# openbox: the whole 640x480 picture, scaled to the height, centred between
# black bars; the game's cursor where the pointer already was at start; a
# click lands on the line under it; Alt+Enter to a window and back keeps the
# pointer on the same picture pixel and gives the window `--windowed` gives;
# while the window changes, it shows the picture laid out for its size of
# the moment, never the old layout's picture.
# Usage: window_fullscreen.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep the screenshots.
set -euo pipefail
source "$(dirname "$0")/lib/window.bash"
window_test window_fullscreen "$1" xdotool openbox import xwininfo

# The menu as the game draws it with the pointer at picture pixel (300, 250), where the window
# stood before it went full screen.
printf '0 mouse 300 250\n100 shot menu\n200 close\n' >"$work/menu.txt"
"$exe" --headless "$work/menu.txt" --shots "$work" >/dev/null

drive() {
  variant="$1"
  [ "$variant" = bare ] || start_openbox
  fail() { echo "window_fullscreen ($variant): $1"; exit 1; }
  pixel_to_screen() {  # picture pixel -> desktop pixel in full screen
    awk -v x="$1" -v y="$2" 'BEGIN { printf "%d %d\n", 200 + (x + 0.5) * 1.875, (y + 0.5) * 1.875 }'
  }
  shot() { screenshot root "$1"; keep_shot "$1" "fullscreen-$variant-$(basename "$1")"; }
  # switch NAME WIDTHxHEIGHT: Alt+Enter, and a shot of the window a few
  # frames after it has its new size. SDL and the window manager take a while
  # longer to finish the switch; the picture must be laid out for the new size
  # at once. (Until the program's next frame the X server shows what the
  # window held before: no program can draw before it hears of the new size.)
  switch() {
    local _
    xdotool key alt+Return
    for _ in $(seq 300); do
      [ "$(xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 }
        END { print w "x" h }')" = "$2" ] && break
    done
    sleep 0.1
    import -window "$wid" "$work/$1-early.png"
  }
  # switched NAME: the early shot shows what the window shows once settled.
  switched() {
    screenshot window "$work/$1-settled.png"
    keep_shot "$work/$1-early.png" "fullscreen-$variant-$1-early.png"
    same_picture "$work/$1-early.png" "$work/$1-settled.png" ||
      fail "right after Alt+Enter ($1) the window showed a picture not laid out for its size"
  }

  read -r px py < <(pixel_to_screen 300 250)
  xdotool mousemove "$px" "$py"
  start_program "$variant" --events "$work/log-$variant.jsonl" || fail "no window appeared"
  sleep 0.5

  # The pointer has not moved since the start: the cursor is drawn under it.
  shot "$work/start.png"
  same_picture "$work/start.png" "$work/menu.png" ||
    fail "the full screen does not show the whole picture letterboxed"

  read -r px py < <(pixel_to_screen 320 300)   # "Einstellungen"
  xdotool mousemove "$px" "$py"; sleep 0.3; xdotool click 1; sleep 0.8
  xdotool key Escape; sleep 0.8

  read -r px py < <(pixel_to_screen 500 100)
  xdotool mousemove "$px" "$py"; sleep 0.5
  switch to-window 640x480; sleep 2
  switched to-window
  locate
  [ "$WW" = 640 ] && [ "$WH" = 480 ] || fail "the window after Alt+Enter is ${WW}x${WH}, not 640x480"
  pointer_near 500 100 1 || fail "after Alt+Enter the pointer is on picture pixel ($gx, $gy), not (500, 100)"
  shot "$work/windowed.png"

  switch to-full-screen 1600x900; sleep 2
  switched to-full-screen
  locate
  pointer_near 500 100 1 || fail "back in full screen the pointer is on picture pixel ($gx, $gy), not (500, 100)"
  read -r px py < <(pixel_to_screen 300 250)
  xdotool mousemove "$px" "$py"; sleep 0.8
  shot "$work/again.png"
  same_picture "$work/again.png" "$work/menu.png" ||
    fail "after Alt+Enter twice the full screen does not show the whole picture"

  xdotool key Escape
  ended_within 10 || fail "the program did not end after Escape"
  wait "$pid" || fail "the program ended with status $?"
}

for variant in bare openbox; do
  in_x_server 1600x900 drive "$variant" ||
    failed "($variant)" "$work/$variant.err" "$work/log-$variant.jsonl"
  expected='"event":"screen","name":"menu"}
"event":"screen","name":"settings"}
"event":"screen","name":"menu"}
"event":"exit","code":0}'
  [ "$(events_of "$work/log-$variant.jsonl")" = "$expected" ] ||
    failed "($variant), unexpected event log:" "$work/log-$variant.jsonl"
done
echo "window_fullscreen: passed (without a window manager and with openbox)"
