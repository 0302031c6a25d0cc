# The shared part of the real-window tests (tests/window_*.sh) and of the
# start benchmark (bench/window_start.sh); sourced, not a test of its own. A
# test calls window_test, writes its steps in the X server as a function and
# runs it with in_x_server, e.g. `in_x_server 1024x768 drive || failed ...`.
# Inside, the function runs in the work folder with every function of the
# test and of this file at hand and $exe, $work, $shots and $test_name set.

# window_test NAME EXECUTABLE TOOL...: the test's name for its messages, the
# program, and the tools it needs besides xvfb-run. A missing tool skips the
# test (status 0, "SKIPPED" in its output). Makes the work folder $work,
# removed when the test ends. MW_SMOKE_SHOTS=DIR keeps screenshots in DIR.
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

# in_x_server WIDTHxHEIGHT FUNCTION [ARG...]: runs FUNCTION in a fresh Xvfb
# screen of that size; its status is the function's. The functions are handed
# over as text (declare -f), as the X server's shell is a new bash.
in_x_server() {
  local size="$1"
  shift
  # The display number is searched from a random start: the server of the
  # test before may still be going down on the first free number, and a
  # client of the new one would lose its socket. The function starts once the
  # server answers.
  # Leak checking is left off: a real X11 window brings system libraries
  # (D-Bus and the like) whose own allocations outlive the program.
  # -noreset: Xvfb starts afresh whenever its last client leaves, which puts
  # the pointer back in the middle; a pointer placed before the program
  # starts (by xdotool, a client that leaves at once) must stay there.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    xvfb-run -a -n "$((100 + RANDOM % 800))" -s "-screen 0 ${size}x24 -noreset" \
    bash -c "set -euo pipefail; $(declare -f); cd \"\$work\"
      for _ in \$(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
      \"\$@\"" in_x_server "$@"
}

# failed MESSAGE [FILE...]: says the test failed, shows the files that exist
# (the program's errors, its event log) and ends the test.
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

# start_program NAME [VAR=VALUE...] [ARG...]: starts the program in the
# background with a silent sound driver and the high-score file in the work
# folder, unless the VAR=VALUE words say otherwise; its output goes to
# NAME.out and NAME.err. Sets $pid and, once its window is seen, $wid.
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

# Waits up to 30 s for a visible window of the program $pid, sets $wid, then
# gives it a second to draw.
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

# The game's 640x480 picture is scaled to the window with its aspect kept:
# reads the window's size and sets $scale and the offsets $ox, $oy.
measure() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  read -r scale ox oy < <(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
    s = w / 640; if (h / 480 < s) s = h / 480;
    printf "%f %d %d\n", s, (w - 640 * s) / 2, (h - 480 * s) / 2 }')
}

# move_to X Y: the pointer onto pixel (X, Y) of the game's picture (measure first).
move_to() {
  local x y
  x="$(awk -v v="$1" -v s="$scale" -v o="$ox" 'BEGIN { printf "%d", o + v * s }')"
  y="$(awk -v v="$2" -v s="$scale" -v o="$oy" 'BEGIN { printf "%d", o + v * s }')"
  xdotool mousemove --window "$wid" "$x" "$y"
}

# click_at X Y [SECONDS]: a left click on picture pixel (X, Y), then a pause
# (0.7 s unless given) for the program to act on it.
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

# ended_within SECONDS: true once the program $pid has ended, false if it
# still runs SECONDS later. Its status is left for `wait "$pid"`.
ended_within() {
  local _
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$pid" 2>/dev/null
}

# ends_after WHAT: the program ends within 10 s of WHAT (e.g. "Ende") with
# status 0; otherwise it is killed and the drive fails.
ends_after() {
  if ! ended_within 10; then
    echo "$test_name: the program did not end after $1"
    kill "$pid"
    return 1
  fi
  wait "$pid"
}

# same_picture SHOT EXPECTED [SHARE]: SHOT, a screenshot of the program's
# window or of the whole screen in any size, shows the 640x480 picture of
# EXPECTED (the picture itself, or another such screenshot) scaled with its
# aspect kept, between black bars; at most SHARE (0.03 unless given) of the
# picture's pixels may differ, for the pulsing selection and the cursor.
same_picture() {
  /usr/bin/python3 - "$1" "$2" "${3:-0.03}" <<'SAME'
import sys
import numpy as np
from PIL import Image

def shown(path):
    """The picture in a screenshot (the middle of each scaled pixel), and the
    brightest pixel of the bars around it."""
    screen = np.asarray(Image.open(path).convert("RGB")).astype(int)
    height, width = screen.shape[:2]
    scale = min(width / 640, height / 480)
    left, top = int((width - 640 * scale) / 2), int((height - 480 * scale) / 2)
    ys = (top + (np.arange(480) + 0.5) * scale).astype(int)
    xs = (left + (np.arange(640) + 0.5) * scale).astype(int)
    outside = np.ones((height, width), bool)
    outside[top:height - top, left:width - left] = False
    bars = int(screen[outside].max()) if outside.any() else 0
    return screen[ys][:, xs], bars

picture, bars = shown(sys.argv[1])
expected, _ = shown(sys.argv[2])
differ = float((np.abs(picture - expected).max(axis=2) > 24).mean())
print(f"{sys.argv[1].rsplit('/', 1)[-1]}: bars {bars}, differing {differ:.4f}")
sys.exit(0 if bars <= 8 and differ <= float(sys.argv[3]) else 1)
SAME
}
