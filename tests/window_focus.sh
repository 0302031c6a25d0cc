#!/usr/bin/env bash
# Focus under openbox: in full screen a game waits while another window has
# the focus (as behind another full-screen program); in a window it goes on,
# and waits only while the window is minimised.
# Read from the recordings of the runs. Usage: window_focus.sh EXECUTABLE
set -euo pipefail
source "$(dirname "$0")/lib/window.bash"
window_test window_focus "$1" xdotool openbox xlogo

drive() {
  start_openbox
  local mode
  for mode in fullscreen windowed minimised; do
    flag=()
    [ "$mode" = fullscreen ] || flag=(--windowed)
    start_program "$mode" "${flag[@]}" --record "$work/$mode.rec"
    xdotool key --window "$wid" Return; sleep 1.5   # "Spiel starten", selected at first
    if [ "$mode" = minimised ]; then
      xdotool windowminimize "$wid"
      sleep 3
      xdotool windowactivate "$wid" 2>/dev/null || xdotool windowmap "$wid"
    else
      xlogo 2>/dev/null &      # a new window: openbox gives it the focus
      other=$!
      sleep 3
      kill "$other"; wait "$other" 2>/dev/null || true
    fi
    sleep 1
    kill -TERM "$pid"
    wait "$pid"
  done
}

in_x_server 1024x768 drive || failed "a run ended with status $?" "$work/fullscreen.err" "$work/windowed.err" \
  "$work/minimised.err"

# The recording format (README): the frames' clock deltas and display flags.
/usr/bin/python3 - "$work/fullscreen.rec" "$work/windowed.rec" "$work/minimised.rec" <<'CHECK'
import sys

def lost_milliseconds(path):
    data = open(path, "rb").read()
    assert data[:6] == b"MWREC\x02", path
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
    lost, before_lost = 0, False
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
        elif tag == "A":  # an audio event's fields
            for read in (varint, skip, varint, skip, skip):
                read()
        else:
            break
    return lost

full, windowed, minimised = (lost_milliseconds(p) for p in sys.argv[1:4])
print(f"window_focus: display lost {full} ms in full screen, {windowed} ms in a window, "
      f"{minimised} ms in a window minimised")
if not 2000 <= full <= 4500:
    sys.exit("window_focus: FAILED, full screen without focus should count as lost for ~3 s")
if windowed:
    sys.exit("window_focus: FAILED, a window without focus must go on")
if not 2000 <= minimised <= 4500:
    sys.exit("window_focus: FAILED, a minimised window should count as lost for ~3 s")
print("window_focus: passed")
CHECK
