#!/usr/bin/env bash
# Focus under openbox: in full screen a game waits while another window has
# the focus (as behind another full-screen program); in a window it goes on.
# Read from the recordings of the runs. Usage: window_focus.sh EXECUTABLE
set -euo pipefail

exe="$(realpath "$1")"
for tool in xvfb-run xdotool openbox xlogo; do
  if ! command -v "$tool" >/dev/null; then
    echo "window_focus: SKIPPED, $tool is not installed (scripts/install-deps installs it)"
    exit 0
  fi
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
exe="$1"; work="$2"
cd "$work"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
for mode in fullscreen windowed; do
  flag=""
  [ "$mode" = windowed ] && flag="--windowed"
  SDL_AUDIODRIVER=dummy OEDIR="$work/" "$exe" $flag --record "$work/$mode.rec" \
    >"$work/$mode.out" 2>"$work/$mode.err" &
  pid=$!
  wid=""
  for _ in $(seq 300); do
    wid="$(xdotool search --onlyvisible --pid "$pid" --name 'wenschuss' 2>/dev/null | head -n1 || true)"
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || { echo "window_focus: no window appeared"; exit 1; }
  sleep 1
  xdotool key --window "$wid" Return; sleep 1.5   # "Spiel starten", selected at first
  xlogo 2>/dev/null &      # a new window: openbox gives it the focus
  other=$!
  sleep 3
  kill "$other"; wait "$other" 2>/dev/null || true
  sleep 1
  kill -TERM "$pid"
  wait "$pid"
done
kill "$wm" 2>/dev/null || true
DRIVE

status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/drive.sh" "$exe" "$work" || status=$?
if [ "$status" -ne 0 ]; then
  echo "window_focus: FAILED, a run ended with status $status"
  cat "$work"/*.err 2>/dev/null || true
  exit 1
fi

# The recording format (README): the frames' clock deltas and display flags.
/usr/bin/python3 - "$work/fullscreen.rec" "$work/windowed.rec" <<'CHECK'
import sys

def lost_milliseconds(path):
    data = open(path, "rb").read()
    assert data[:6] == b"MWREC\x01", path
    at = 6
    def skip():  # a length, then that many bytes
        nonlocal at
        length = varint()
        at += length
    def varint():
        nonlocal at
        value = shift = 0
        while True:
            byte = data[at]
            at += 1
            value |= (byte & 0x7F) << shift
            shift += 7
            if byte < 0x80:
                return value
    lost = 0
    before_lost = False
    while at < len(data):
        tag = chr(data[at])
        at += 1
        if tag == "I":
            delta, flags = varint(), varint()
            if flags & 1:
                varint(); varint()
            if flags & 2:
                for _ in range(varint()):
                    varint(); varint()
            if flags & 4:
                skip()
            if flags & 16 and before_lost:
                lost += delta
            before_lost = bool(flags & 16)
        elif tag == "P":
            skip()
        elif tag == "A":
            varint()
            skip()
            varint()
            skip()
            skip()
        else:
            break
    return lost

full, windowed = (lost_milliseconds(p) for p in sys.argv[1:3])
print(f"window_focus: display lost {full} ms in full screen, {windowed} ms in a window")
if not 2000 <= full <= 4500:
    sys.exit("window_focus: FAILED, full screen without focus should count as lost for ~3 s")
if windowed:
    sys.exit("window_focus: FAILED, a window without focus must go on")
print("window_focus: passed")
CHECK
