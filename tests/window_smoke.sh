#!/usr/bin/env bash
# A real window under Xvfb: open the settings screen with the mouse, change a
# setting, leave with Escape, end with "Ende". Usage: window_smoke.sh EXECUTABLE
# Set MW_SMOKE_SHOTS=DIR to keep screenshots of the menu and the settings screen.
set -euo pipefail

exe="$(realpath "$1")"
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "window_smoke: SKIPPED, $tool is not installed (scripts/install-deps installs it)"
    exit 0
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
exe="$1"; work="$2"; shots="${3:-}"
cd "$work"
# Leak checking is left off here: a real X11 window brings system libraries
# (D-Bus and the like) whose own allocations outlive the program.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
SDL_AUDIODRIVER=dummy OEDIR="$work/" "$exe" --windowed --events "$work/log.jsonl" \
  >"$work/out.txt" 2>"$work/err.txt" &
pid=$!

wid=""
for _ in $(seq 300); do
  wid="$(xdotool search --onlyvisible --pid "$pid" --name 'wenschuss' 2>/dev/null | head -n1 || true)"
  [ -n "$wid" ] && break
  sleep 0.1
done
if [ -z "$wid" ]; then
  echo "window_smoke: no window appeared"; kill "$pid" 2>/dev/null || true; exit 1
fi
sleep 1

# The 640x480 picture is scaled to the window with its aspect kept.
eval "$(xdotool getwindowgeometry --shell "$wid")"
read -r scale ox oy < <(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN {
  s = w / 640; if (h / 480 < s) s = h / 480;
  printf "%f %d %d\n", s, (w - 640 * s) / 2, (h - 480 * s) / 2 }')
click_at() {  # screen pixel of the game's 640x480 picture
  local x y
  x="$(awk -v v="$1" -v s="$scale" -v o="$ox" 'BEGIN { printf "%d", o + v * s }')"
  y="$(awk -v v="$2" -v s="$scale" -v o="$oy" 'BEGIN { printf "%d", o + v * s }')"
  xdotool mousemove --window "$wid" "$x" "$y"
  sleep 0.3
  xdotool click 1
  sleep 0.7
}
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png" || true; }

xdotool mousemove --window "$wid" 100 100
sleep 0.5
shot window-menu
click_at 320 300          # "Einstellungen"
click_at 320 150          # "Möven: " mittel -> viele
shot window-settings
xdotool key --window "$wid" Escape
sleep 0.8
click_at 320 400          # "Ende"

for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "window_smoke: the program did not end after \"Ende\""; kill "$pid"; exit 1
fi
wait "$pid"
DRIVE

status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/drive.sh" "$exe" "$work" \
  "${MW_SMOKE_SHOTS:-}" || status=$?
if [ "$status" -ne 0 ]; then
  echo "window_smoke: FAILED with status $status"
  cat "$work/err.txt" 2>/dev/null || true
  cat "$work/log.jsonl" 2>/dev/null || true
  exit 1
fi

log="$(cat "$work/log.jsonl")"
expected='"event":"screen","name":"menu"}
"event":"screen","name":"settings"}
"event":"screen","name":"menu"}
"event":"exit","code":0}'
got="$(sed 's/^{"t":[0-9]*,//' "$work/log.jsonl")"
if [ "$got" != "$expected" ]; then
  echo "window_smoke: FAILED, unexpected event log:"; echo "$log"; exit 1
fi
echo "window_smoke: passed"
