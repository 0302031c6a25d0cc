#!/usr/bin/env bash
# The Windows program on a scaled display: Wine set to 144 DPI (150 %), then
# to 96 (100 %), in a prefix of its own, on a 1920x1080 screen under Xvfb. Full screen fills the
# screen in real pixels: the picture sharp (every screen pixel one of the
# picture's, none a blend) between black bars, the same as the picture the
# program saves with F12. A window is twice 640x480 in real pixels, and a click
# on "Spiel starten" starts the game. Usage: dpi_wine.sh WINDOWS_EXE
# Set MW_SMOKE_SHOTS=DIR to keep the screenshots.
set -euo pipefail
source "$(dirname "$0")/../lib/window.bash"
windows_exe="$(realpath "$1")"
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"

launcher="$(mktemp)"
trap 'rm -f "$launcher"' EXIT
window_test dpi_wine "$launcher" xdotool import
trap 'WINEPREFIX="$work/prefix" "$(dirname "$wine")/wineserver" -k 2>/dev/null; rm -rf "$work" "$launcher"' EXIT

# A prefix of its own with its own home: the DPI set here touches nobody's
# Wine, and the picture F12 saves lands in the work folder.
mkdir -p "$work/home"
export WINEPREFIX="$work/prefix" HOME="$work/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(unset DISPLAY; "$wine" wineboot --init >/dev/null 2>&1)
"$(dirname "$wine")/wineserver" -w
printf '#!/bin/sh\nexec "%s" "%s" "$@"\n' "$wine" "$windows_exe" >"$launcher"
chmod +x "$launcher"

# sharp SHOT: the picture in SHOT is the 640x480 picture scaled without any
# blending: every pixel of the picture's area has the colour of the picture
# pixel under it or of a neighbour of that pixel (where the scale is no whole
# number, the renderer may round a boundary either way), and the bars are black.
sharp() {
  /usr/bin/python3 - "$1" <<'SHARP'
import sys
import numpy as np
from PIL import Image

screen = np.asarray(Image.open(sys.argv[1]).convert("RGB")).astype(int)
height, width = screen.shape[:2]
scale = min(width / 640, height / 480)
w, h = round(640 * scale), round(480 * scale)
left, top = (width - w) // 2, (height - h) // 2
# The picture as the middle of each scaled pixel shows it.
ys = (top + (np.arange(480) + 0.5) * scale).astype(int)
xs = (left + (np.arange(640) + 0.5) * scale).astype(int)
picture = screen[ys][:, xs]
sy = np.clip(((np.arange(h) + 0.5) / scale).astype(int), 0, 479)
sx = np.clip(((np.arange(w) + 0.5) / scale).astype(int), 0, 639)
area = screen[top:top + h, left:left + w]
match = np.zeros((h, w), bool)
for dy in (-1, 0, 1):
    for dx in (-1, 0, 1):
        near = picture[np.clip(sy + dy, 0, 479)][:, np.clip(sx + dx, 0, 639)]
        match |= (area == near).all(axis=2)
blended = float(1 - match.mean())
outside = np.ones((height, width), bool)
outside[top:top + h, left:left + w] = False
bars = int(screen[outside].max()) if outside.any() else 0
print(f"{sys.argv[1].rsplit('/', 1)[-1]}: {width}x{height}, picture {w}x{h} at {left},{top}, "
      f"bars {bars}, blended pixels {blended:.5f}")
sys.exit(0 if bars == 0 and blended <= 0.001 else 1)
SHARP
}

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

# Both runs at one DPI, set in the prefix before Wine starts anew.
at_dpi() {
  export dpi="$1"
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  "$(dirname "$wine")/wineserver" -w
  rm -f "$work"/*.png "$work"/log-*.jsonl
  in_x_server 1920x1080 full_screen || failed "full screen at $dpi DPI: status $?" "$work/full.err"
  local f12
  f12="$(find "$work/prefix/drive_c/users" "$work/home" -name '*.png' -newer "$work/before-f12" | head -n1)"
  [ -n "$f12" ] || failed "F12 saved no picture at $dpi DPI" "$work/log-full.jsonl"
  keep_shot "$work/screen-full.png" "dpi-$dpi-screen.png"
  sharp "$work/screen-full.png" || failed "the full screen picture at $dpi DPI is not sharp"
  same_picture "$work/screen-full.png" "$f12" ||
    failed "the full screen at $dpi DPI does not show the picture F12 saved"
  rm -f "$f12"

  in_x_server 1920x1080 windowed || failed "window at $dpi DPI: status $?" "$work/windowed.err"
  grep -q '"screen","name":"game"' "$work/log-windowed.jsonl" ||
    failed "the click on \"Spiel starten\" in the window at $dpi DPI started no game" \
      "$work/log-windowed.jsonl"
}

at_dpi 144
at_dpi 96
echo "dpi_wine: passed (144 and 96 DPI)"
