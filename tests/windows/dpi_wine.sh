#!/usr/bin/env bash
# The Windows program on a scaled display: Wine set to 144 DPI (150 %), then to
# 96 (100 %), in a prefix of its own, on a 1920x1080 screen under Xvfb. Full
# screen fills the screen in real pixels: the picture sharp (every screen pixel
# one of the picture's, none a blend) between black bars, the same as the
# picture the program saves with F12. A window is twice 640x480 in real pixels,
# and a click on "Spiel starten" starts the game. Usage: dpi_wine.sh WINDOWS_EXE
# Set MW_SMOKE_SHOTS=DIR to keep the screenshots.
set -euo pipefail
source "$(dirname "$0")/../lib/window.bash"
window_test dpi_wine "$1" xdotool import
wine_launcher
trap 'WINEPREFIX="$work/prefix" "$(dirname "$wine")/wineserver" -k 2>/dev/null; rm -rf "$work"' EXIT

# A prefix of its own with its own home: the DPI set here touches nobody's
# Wine, and the picture F12 saves lands in the work folder.
mkdir -p "$work/home"
export WINEPREFIX="$work/prefix" HOME="$work/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(unset DISPLAY; "$wine" wineboot --init >/dev/null 2>&1)
"$(dirname "$wine")/wineserver" -w

full_screen() {
  touch "$work/before-f12"
  start_program full --events "$work/log-full.jsonl"
  measure
  [ "$(xdotool getwindowgeometry --shell "$wid" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' ')" = \
    "WIDTH=1920 HEIGHT=1080 " ] || { echo "dpi_wine: full screen is not 1920x1080 real pixels"; return 1; }
  move_to 630 470           # the pointer out of the menu's lines
  sleep 0.5
  xdotool key --window "$wid" F12
  sleep 1
  import -window root "$work/screen-full.png"
  xdotool key --window "$wid" Escape
  ends_after Escape
}

windowed() {
  start_program windowed --windowed --events "$work/log-windowed.jsonl"
  measure
  local geometry
  geometry="$(xdotool getwindowgeometry --shell "$wid" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' ')"
  [ "$geometry" = "WIDTH=1280 HEIGHT=960 " ] ||
    { echo "dpi_wine: the window is $geometry, not 1280x960 real pixels"; return 1; }
  click_at 320 250 1.5      # "Spiel starten"
  [ -z "$shots" ] || screenshot window "$shots/dpi-$dpi-window.png"
  xdotool key --window "$wid" Escape
  sleep 1.5
  xdotool key --window "$wid" Escape
  sleep 1
  click_at 320 400          # "Ende"
  ends_after '"Ende"'
}

# Both runs at each DPI, set in the prefix before Wine starts anew.
for dpi in 144 96; do
  export dpi
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "$(dirname "$wine")/wineserver" -w
  rm -f "$work"/*.png "$work"/log-*.jsonl
  in_x_server 1920x1080 full_screen || failed "full screen at $dpi DPI: status $?" "$work/full.err"
  f12="$(find "$work/prefix/drive_c/users" "$work/home" -name '*.png' -newer "$work/before-f12" | head -n1)"
  [ -n "$f12" ] || failed "F12 saved no picture at $dpi DPI" "$work/log-full.jsonl"
  keep_shot "$work/screen-full.png" "dpi-$dpi-screen.png"
  same_picture "$work/screen-full.png" "$f12" 0.03 sharp ||
    failed "the full screen at $dpi DPI does not show the picture F12 saved, sharp between black bars"
  rm -f "$f12"

  in_x_server 1920x1080 windowed || failed "window at $dpi DPI: status $?" "$work/windowed.err"
  grep -q '"screen","name":"game"' "$work/log-windowed.jsonl" ||
    failed "the click on \"Spiel starten\" in the window at $dpi DPI started no game" \
      "$work/log-windowed.jsonl"
done
echo "dpi_wine: passed (144 and 96 DPI)"
