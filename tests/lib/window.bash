# The shared part of the real-window tests and of bench/window_start.sh. A
# test calls window_test, then runs its steps as a function in an X server:
# `in_x_server 1024x768 drive || failed ...`; the function runs in the work
# folder with every function at hand and $exe, $work, $shots, $test_name set.

# window_test NAME EXECUTABLE TOOL...: a missing tool skips the test (status
# 0, "SKIPPED"); $work is removed at the end; MW_SMOKE_SHOTS=DIR keeps shots.
window_test() {
  export test_name="$1"
  export exe
  exe="$(realpath "$2")"
  shift 2
  local tool
  for tool in xvfb-run "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "$test_name: SKIPPED, $tool is not installed (scripts/install-deps installs it)"
      exit 0
    fi
  done
  export work
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  export shots="${MW_SMOKE_SHOTS:-}"
}

# in_x_server WIDTHxHEIGHT FUNCTION [ARG...]: FUNCTION's status in a fresh Xvfb
# screen; the functions go over as text (declare -f) to its new bash.
in_x_server() {
  local size="$1"
  shift
  # A random first display number: the server of the test before may still
  # be going down on the first free one. No leak checks: X11's system
  # libraries keep allocations past the end. -noreset keeps a pointer placed
  # before the program starts (Xvfb resets it when its last client leaves).
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    xvfb-run -a -n "$((100 + RANDOM % 800))" -s "-screen 0 ${size}x24 -noreset" \
    bash -c "set -euo pipefail; $(declare -f); cd \"\$work\"
      for _ in \$(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
      \"\$@\"" in_x_server "$@"
}

# failed MESSAGE [FILE...]: ends the test as failed, showing the files that exist.
failed() {
  echo "$test_name: FAILED, $1"
  shift
  local file
  for file in "$@"; do
    [ -f "$file" ] || continue
    echo "== $(basename "$file")"
    cat "$file"
  done
  exit 1
}

# wine_launcher: after window_test on a Windows program, makes $exe a script
# that runs it under Wine ($wine); exec keeps the process, so its pid is the window's.
wine_launcher() {
  wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
  printf '#!/bin/sh\nWINEDEBUG=-all exec "%s" "%s" "$@"\n' "$wine" "$exe" >"$work/wine-launcher"
  chmod +x "$work/wine-launcher"
  exe="$work/wine-launcher"
}

# An event log without the times, one event a line.
events_of() { sed 's/^{"t":[0-9]*,//' "$1"; }

# --- Inside the X server ------------------------------------------------------

# A window manager for the rest of the drive function, ended with it.
start_openbox() {
  openbox >/dev/null 2>&1 &
  wm=$!
  trap 'kill "$wm" 2>/dev/null || true' EXIT
  sleep 1
}

# start_program NAME [VAR=VALUE...] [ARG...]: the program in the background,
# silent and with its table in $work unless VAR=VALUE say otherwise, output
# in NAME.out and NAME.err; sets $pid and, once its window shows, $wid.
start_program() {
  local name="$1" settings=()
  shift
  while [[ "${1:-}" =~ ^[A-Z_]+= ]]; do
    settings+=("$1")
    shift
  done
  # A shell without job control starts its background commands with SIGINT
  # ignored; a terminal's Ctrl+C is what a player has, so it is put back.
  env SDL_AUDIODRIVER=dummy OEDIR="$work/" "${settings[@]}" /usr/bin/python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.execv(sys.argv[1], sys.argv[1:])' "$exe" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  pid=$!
  find_window
}

# Waits 30 s at most for a window of $pid, sets $wid, and gives it a second to draw.
find_window() {
  local _
  wid=""
  for _ in $(seq 300); do
    wid="$(xdotool search --onlyvisible --pid "$pid" --name 'wenschuss' 2>/dev/null | head -n1 || true)"
    if [ -n "$wid" ]; then
      sleep 1
      return 0
    fi
    sleep 0.1
  done
  echo "$test_name: no window appeared"
  kill "$pid" 2>/dev/null || true
  return 1
}

# Sets $scale and the offsets $ox, $oy of the 640x480 picture in the window.
measure() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  read -r scale ox oy < <(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
    s = w / 640; if (h / 480 < s) s = h / 480;
    printf "%f %d %d\n", s, (w - 640 * s) / 2, (h - 480 * s) / 2 }')
}

# locate: the window's place on the screen ($WX, $WY; xdotool's is off under
# a window manager), its size ($WW, $WH) and the picture's layout in it.
locate() {
  eval "$(xwininfo -id "$wid" | awk -F: '{ gsub(/ /, "", $2) } /Absolute upper-left X/ {print "WX=" $2}
    /Absolute upper-left Y/ {print "WY=" $2} /Width/ {print "WW=" $2} /Height/ {print "WH=" $2}')"
  measure
}

# pointer_near X Y TOLERANCE: whether the pointer is on picture pixel (X, Y),
# give or take TOLERANCE (locate first); sets $gx, $gy to the pixel it is on.
pointer_near() {
  eval "$(xdotool getmouselocation --shell)"
  read -r gx gy < <(awk -v x="$X" -v y="$Y" -v wx="$WX" -v wy="$WY" -v s="$scale" -v ox="$ox" \
    -v oy="$oy" 'BEGIN { printf "%d %d\n", (x - wx - ox) / s, (y - wy - oy) / s }')
  (( gx >= $1 - $3 && gx <= $1 + $3 && gy >= $2 - $3 && gy <= $2 + $3 ))
}

# move_to X Y: the pointer onto pixel (X, Y) of the game's picture (measure first).
move_to() {
  local x y
  x="$(awk -v v="$1" -v s="$scale" -v o="$ox" 'BEGIN { printf "%d", o + v * s }')"
  y="$(awk -v v="$2" -v s="$scale" -v o="$oy" 'BEGIN { printf "%d", o + v * s }')"
  xdotool mousemove --window "$wid" "$x" "$y"
}

# click_at X Y [SECONDS]: a left click on picture pixel (X, Y), then a pause (0.7 s).
click_at() {
  move_to "$1" "$2"
  sleep 0.3
  xdotool click 1
  sleep "${3:-0.7}"
}

# screenshot root|window FILE: the whole X screen or the program's window.
screenshot() {
  local what="$1"
  [ "$what" = window ] && what="$wid"
  import -window "$what" "$2"
}

# keep_shot FILE NAME: a copy in $shots as NAME, when screenshots are kept.
keep_shot() { [ -z "$shots" ] || cp "$1" "$shots/$2"; }

# ended_within SECONDS: whether $pid ends within SECONDS (its status left for wait).
ended_within() {
  local _
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$pid" 2>/dev/null
}

# ends_after WHAT: the program ends within 10 s of WHAT with status 0, or is killed.
ends_after() {
  if ! ended_within 10; then
    echo "$test_name: the program did not end after $1"
    kill "$pid"
    return 1
  fi
  wait "$pid"
}

# same_picture SHOT EXPECTED [SHARE] [sharp]: the screenshot SHOT shows
# EXPECTED's 640x480 picture scaled between black bars, but for SHARE (0.03)
# of its pixels: the pulsing selection and the cursor. With "sharp", the bars
# are wholly black and the picture is scaled without blending: each pixel has
# the colour of the picture pixel under it or of a neighbour (where the scale
# is no whole number, a boundary may round either way).
same_picture() {
  /usr/bin/python3 - "$1" "$2" "${3:-0.03}" "${4:-}" <<'SAME'
import sys
import numpy as np
from PIL import Image

def shown(path):
    """The screenshot, the picture in it (the middle of each scaled pixel), its
    scale and place, and the brightest pixel of the bars around it."""
    screen = np.asarray(Image.open(path).convert("RGB")).astype(int)
    height, width = screen.shape[:2]
    scale = min(width / 640, height / 480)
    left, top = int((width - 640 * scale) / 2), int((height - 480 * scale) / 2)
    ys = (top + (np.arange(480) + 0.5) * scale).astype(int)
    xs = (left + (np.arange(640) + 0.5) * scale).astype(int)
    outside = np.ones((height, width), bool)
    outside[top:height - top, left:width - left] = False
    bars = int(screen[outside].max()) if outside.any() else 0
    return screen, screen[ys][:, xs], scale, left, top, bars

screen, picture, scale, left, top, bars = shown(sys.argv[1])
expected = shown(sys.argv[2])[1]
differ = float((np.abs(picture - expected).max(axis=2) > 24).mean())
sharp, blended = sys.argv[4] == "sharp", 0.0
if sharp:
    h, w = round(480 * scale), round(640 * scale)
    sy = np.clip(((np.arange(h) + 0.5) / scale).astype(int), 0, 479)
    sx = np.clip(((np.arange(w) + 0.5) / scale).astype(int), 0, 639)
    match = np.zeros((h, w), bool)
    for dy in (-1, 0, 1):
        for dx in (-1, 0, 1):
            near = picture[np.clip(sy + dy, 0, 479)][:, np.clip(sx + dx, 0, 639)]
            match |= (screen[top:top + h, left:left + w] == near).all(axis=2)
    blended = float(1 - match.mean())
print(f"{sys.argv[1].rsplit('/', 1)[-1]}: bars {bars}, differing {differ:.4f}, blended {blended:.5f}")
sys.exit(0 if bars <= (0 if sharp else 8) and differ <= float(sys.argv[3]) and blended <= 0.001 else 1)
SAME
}
