#!/usr/bin/env bash
# A real window under Xvfb: open the settings screen with the mouse, change a
# setting, leave with Escape, end with "Ende". Usage: window_smoke.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the menu and the settings screen.
set -euo pipefail
source "$(dirname "$0")/lib/window.bash"
window_test window_smoke "$1" xdotool

drive() {
  start_program smoke --windowed --events "$work/log.jsonl"
  measure
  xdotool mousemove --window "$wid" 100 100
  sleep 0.5
  [ -z "$shots" ] || screenshot root "$shots/window-menu.png"
  click_at 320 300          # "Einstellungen"
  click_at 320 150          # "Möven: " mittel -> viele
  [ -z "$shots" ] || screenshot root "$shots/window-settings.png"
  xdotool key --window "$wid" Escape
  sleep 0.8
  click_at 320 400          # "Ende"
  ends_after '"Ende"'
}

in_x_server 1024x768 drive || failed "status $?" "$work/smoke.err" "$work/log.jsonl"

expected='"event":"screen","name":"menu"}
"event":"screen","name":"settings"}
"event":"screen","name":"menu"}
"event":"exit","code":0}'
[ "$(events_of "$work/log.jsonl")" = "$expected" ] ||
  failed "unexpected event log:" "$work/log.jsonl"
echo "window_smoke: passed"
