#!/usr/bin/env bash
# The sound mix of ordinary play, written by SDL's disk audio driver: a game
# in a real window under Xvfb with openbox, played with xdotool (splats at
# the start, rifle shots, empty clicks, a reload, a machine-gun burst over
# them). No sample may clip, and every effect played stays clearly audible.
# Usage: window_sound_mix.sh EXECUTABLE
set -euo pipefail
source "$(dirname "$0")/lib/window.bash"
window_test window_sound_mix "$1" xdotool openbox

drive() {
  start_openbox
  start_program mix SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/mix.raw" \
    --windowed --events "$work/log.jsonl"
  measure
  click_at 320 250 1.5                                       # "Spiel starten"
  move_to 320 200
  for _ in $(seq 10); do xdotool click 1; sleep 0.15; done   # 8 shots, 2 clicks
  xdotool click 3; sleep 0.6                                   # reload
  for _ in $(seq 4); do xdotool click 1; sleep 0.1; done
  xdotool key --window "$wid" 2; sleep 0.2                     # machine gun
  xdotool mousedown 1; sleep 2.5; xdotool mouseup 1
  sleep 1.5
  kill -TERM "$pid"
  wait "$pid"
}

in_x_server 1024x768 drive || failed "the run ended with status $?" "$work/mix.err" "$work/log.jsonl"

/usr/bin/python3 - "$work/mix.raw" "$work/log.jsonl" <<'CHECK'
import json
import sys
import numpy as np
mix = np.fromfile(sys.argv[1], dtype="<i2").astype(np.int32)
events = [json.loads(line) for line in open(sys.argv[2])]
sounds = [(e["t"], e["number"]) for e in events if e["event"] == "sound"]
kinds = sorted({n for _, n in sounds})
if len(sounds) < 20 or not {0, 1, 3}.issubset(kinds):
    sys.exit(f"window_sound_mix: FAILED, too little was played: {sounds}")
clipped = int((np.abs(mix) >= 32767).sum())
left = mix.reshape(-1, 2)[:, 0].astype(float)
# The file starts when the sound device opens; the first effect's onset
# lines the log's times up with the samples.
onset = int(np.argmax(np.abs(left) > 500))
# The disk driver keeps only roughly to real time (less so in a slow build),
# so a window may slip off its effect late in the run: each kind of effect
# must be heard well at least once, and most plays must be.
peaks = []
for t, number in sounds:
    at = onset + int((t - sounds[0][0]) * 44.1)
    peaks.append((number, int(np.abs(left[max(at - 2205, 0):at + 8820]).max())))
loudest = {n: max(p for m, p in peaks if m == n) for n in kinds}
quiet = {n: p for n, p in loudest.items() if p < 0.3 * 32767}
typical = float(np.median([p for _, p in peaks]))
print(f"window_sound_mix: {len(sounds)} effects ({kinds}), {clipped} clipped samples, "
      f"peak {int(np.abs(left).max())}, median effect peak {typical:.0f}")
if clipped:
    sys.exit(f"window_sound_mix: FAILED, {clipped} samples clipped")
if quiet or typical < 0.35 * 32767:
    sys.exit(f"window_sound_mix: FAILED, effects too quiet (median peak {typical:.0f}; "
             f"loudest play of each: {loudest})")
print("window_sound_mix: passed")
CHECK
