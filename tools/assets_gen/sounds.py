"""The seven sound effects, synthesised from noise, oscillators, filters and envelopes."""
import math

import numpy as np

from .files import SAMPLE_RATE as SR

PEAK_LIMIT = 10 ** (-1.0 / 20)   # -1 dBFS
TARGET_RMS = 0.16                # loudness of the active part of every effect


def _t(seconds):
    return np.arange(int(round(seconds * SR))) / SR


def _biquad(x, kind, freq, q=0.707):
    """RBJ biquad; freq may be a number or an array (a sweeping filter)."""
    n = len(x)
    f = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,))
    w = 2 * np.pi * np.clip(f, 10, SR * 0.45) / SR
    cw, alpha = np.cos(w), np.sin(w) / (2 * q)
    if kind == "low":
        b0, b1, b2 = (1 - cw) / 2, 1 - cw, (1 - cw) / 2
    elif kind == "high":
        b0, b1, b2 = (1 + cw) / 2, -(1 + cw), (1 + cw) / 2
    else:  # band pass, peak gain 1
        b0, b1, b2 = alpha, np.zeros(n), -alpha
    a0, a1, a2 = 1 + alpha, -2 * cw, 1 - alpha
    b0, b1, b2, a1, a2 = (np.broadcast_to(v / a0, (n,)).tolist() for v in (b0, b1, b2, a1, a2))
    y = [0.0] * n
    x1 = x2 = y1 = y2 = 0.0
    for i, xi in enumerate(x.tolist()):
        yi = b0[i] * xi + b1[i] * x1 + b2[i] * x2 - a1[i] * y1 - a2[i] * y2
        x2, x1, y2, y1 = x1, xi, y1, yi
        y[i] = yi
    return np.array(y)


def _env(t, attack, decay):
    """Fast rise, exponential fall."""
    return np.clip(t / max(attack, 1e-6), 0, 1) * np.exp(-np.maximum(t - attack, 0) / decay)


def _at(length, start, part):
    """Place a part into a silent buffer of `length` samples at `start` seconds."""
    out = np.zeros(length)
    i = int(round(start * SR))
    n = min(len(part), length - i)
    out[i:i + n] += part[:n]
    return out


def _resonance(t, freq, decay, phase=0.0):
    return np.sin(2 * np.pi * freq * t + phase) * np.exp(-t / decay)


def rifle_shot(rng):
    t = _t(1.93)
    n = len(t)
    crack = _biquad(rng.standard_normal(n), "high", 1800) * _env(t, 0.0005, 0.006) * 2.2
    body = _biquad(rng.standard_normal(n), "low", 900) * _env(t, 0.002, 0.05) * 1.6
    sweep = 95 * np.exp(-t / 0.08) + 42
    thump = np.sin(2 * np.pi * np.cumsum(sweep) / SR) * _env(t, 0.003, 0.12) * 1.1
    dry = crack + body + thump
    # The echo rolls back from the water and the far shore, duller each time.
    tail = _biquad(rng.standard_normal(n), "low", 700 * np.exp(-t / 1.2) + 180) * 0.4
    tail *= np.clip((t - 0.05) / 0.25, 0, 1) * np.exp(-t / 0.55)
    echo = np.zeros(n)
    for delay, gain, cutoff in ((0.21, 0.42, 1400), (0.47, 0.30, 900), (0.80, 0.20, 600), (1.18, 0.12, 420)):
        echo += _at(n, delay, _biquad(dry, "low", cutoff)) * gain
    return dry + echo + tail


def empty_click(rng):
    t = _t(0.58)
    n = len(t)
    click = _biquad(rng.standard_normal(n), "band", 3200, q=2.0) * _env(t, 0.0003, 0.004) * 3.0
    ping = (_resonance(t, 2650, 0.012) * 0.7 + _resonance(t, 4100, 0.007) * 0.4) * np.clip(t / 0.0005, 0, 1)
    knock = _resonance(t, 420, 0.02) * 0.5 * np.clip(t / 0.001, 0, 1)
    first = click + ping + knock
    second = _at(n, 0.045, (click + ping)[: int(0.05 * SR)] * 0.35)
    room = _biquad(rng.standard_normal(n), "band", 1500, q=0.8) * _env(t, 0.002, 0.06) * 0.08
    return first + second + room


def _clack(rng, t, pitch):
    n = len(t)
    noise = _biquad(rng.standard_normal(n), "band", 2400 * pitch, q=1.2) * _env(t, 0.0004, 0.012) * 2.4
    metal = (_resonance(t, 1250 * pitch, 0.03) * 0.8 + _resonance(t, 3150 * pitch, 0.015) * 0.5
             + _resonance(t, 610 * pitch, 0.04) * 0.6)
    return noise + metal * np.clip(t / 0.0005, 0, 1)


def reload(rng):
    t = _t(0.71)
    n = len(t)
    slide = _biquad(rng.standard_normal(n), "band", 1800, q=1.5) * 0.12
    slide *= np.clip((t - 0.10) / 0.05, 0, 1) * np.clip((0.33 - t) / 0.05, 0, 1)
    pull = _at(n, 0.06, _clack(rng, t, 1.0))
    push = _at(n, 0.38, _clack(rng, t, 0.85) * 1.1)
    return pull + slide + push


def warning_beep(rng):
    t = _t(0.86)
    hold = np.clip(t / 0.005, 0, 1) * np.where(t < 0.16, 1.0, np.exp(-(t - 0.16) / 0.05))
    tone = np.sin(2 * np.pi * 1320 * t) + 0.25 * np.sin(2 * np.pi * 2640 * t) + 0.1 * np.sin(2 * np.pi * 3960 * t)
    ring = np.sin(2 * np.pi * 1320 * t) * 0.12 * np.clip((t - 0.16) / 0.02, 0, 1) * np.exp(-np.maximum(t - 0.16, 0) / 0.22)
    return tone * hold + ring


def splat(rng):
    t = _t(0.74)
    n = len(t)
    formant = 1300 * np.exp(-t / 0.05) + 260
    squelch = _biquad(rng.standard_normal(n), "band", formant, q=3.0) * _env(t, 0.003, 0.07) * 2.2
    wet = _biquad(rng.standard_normal(n), "low", 1800) * _env(t, 0.002, 0.03) * 0.9
    thud = _resonance(t, 110, 0.05) * np.clip(t / 0.003, 0, 1) * 0.6
    drops = np.zeros(n)
    for start in np.sort(rng.uniform(0.08, 0.5, 7)):
        f0 = rng.uniform(900, 1900)
        d = _t(0.05)
        blip = np.sin(2 * np.pi * np.cumsum(f0 * (1 + 0.8 * d / 0.05)) / SR) * np.exp(-d / 0.012)
        drops += _at(n, start, blip * rng.uniform(0.08, 0.2) * np.exp(-start / 0.3))
    return squelch + wet + thud + drops


def gull_hit(rng):
    t = _t(0.63)
    n = len(t)
    # Squawk: a harsh nasal call whose pitch jumps up and falls away.
    dur = 0.26
    contour = np.interp(t, [0, 0.03, 0.12, dur], [760, 1180, 980, 620])
    rough = 1 + 0.35 * np.sin(2 * np.pi * 47 * t)
    phase = 2 * np.pi * np.cumsum(contour * rough ** 0.1) / SR
    saw = sum(np.sin(k * phase) / k for k in range(1, 9))
    call = _biquad(saw, "band", 2200, q=1.4) * 1.4 + _biquad(saw, "band", 1200, q=2.0) * 0.8
    call *= rough * np.clip(t / 0.01, 0, 1) * np.clip((dur - t) / 0.05, 0, 1)
    # Thud of the body and a rustle of feathers.
    thud = _resonance(np.maximum(t - 0.22, 0), 85, 0.06) * (t >= 0.22) * 0.9
    flutter = 1 + 0.8 * np.sin(2 * np.pi * 28 * t)
    rustle = _biquad(rng.standard_normal(n), "band", 4200, q=0.9) * flutter
    rustle *= np.clip((t - 0.2) / 0.03, 0, 1) * np.exp(-np.maximum(t - 0.23, 0) / 0.09) * 0.45
    return call + thud + rustle


def ship_hit(rng):
    t = _t(1.25)
    n = len(t)
    blast = _biquad(rng.standard_normal(n), "low", 2600 * np.exp(-t / 0.15) + 220) * _env(t, 0.002, 0.22) * 1.6
    boom = np.sin(2 * np.pi * np.cumsum(70 * np.exp(-t / 0.3) + 38) / SR) * _env(t, 0.004, 0.3) * 1.2
    crackle = np.zeros(n)
    for start in np.sort(rng.uniform(0.02, 0.35, 14)):
        crackle += _at(n, start, _biquad(rng.standard_normal(200), "high", 2500) * np.exp(-np.arange(200) / 40) * 0.5)
    sw = 0.42
    splash = _biquad(rng.standard_normal(n), "band", 2600, q=0.6) * 0.9
    splash *= np.clip((t - sw) / 0.06, 0, 1) * np.exp(-np.maximum(t - sw - 0.06, 0) / 0.22)
    return blast + boom + crackle + splash


def active_rms(x, window=441, floor=0.1):
    """RMS over the 20 ms windows that are at least `floor` times as loud as the loudest one."""
    frames = len(x) // window
    w = x[: frames * window].reshape(frames, window)
    rms = np.sqrt((w ** 2).mean(axis=1))
    loud = rms >= floor * rms.max()
    return float(np.sqrt((w[loud] ** 2).mean()))


def finish(x):
    """Fade the ends, match the loudness and keep the peak below -1 dBFS."""
    x = np.asarray(x, dtype=np.float64)
    x = x - x.mean()
    fade_in, fade_out = int(0.003 * SR), int(0.015 * SR)
    x[:fade_in] *= np.linspace(0, 1, fade_in)
    x[-fade_out:] *= np.linspace(1, 0, fade_out) ** 2
    x = x * (TARGET_RMS / active_rms(x))
    peak = np.max(np.abs(x))
    if peak > PEAK_LIMIT * 0.98:
        # Tame only the loudest transients; a gentle curve keeps the body's loudness.
        knee = 0.5
        over = np.abs(x) > knee
        squeezed = knee + (PEAK_LIMIT * 0.97 - knee) * np.tanh((np.abs(x) - knee) / (PEAK_LIMIT * 0.97 - knee))
        x = np.where(over, np.sign(x) * squeezed, x)
    x[0] = 0.0
    x[-1] = 0.0
    return x


EFFECTS = [
    ("20.pdk", 1.93, rifle_shot),
    ("21.pdk", 0.58, empty_click),
    ("22.pdk", 0.71, reload),
    ("23.pdk", 0.86, warning_beep),
    ("24.pdk", 0.74, splat),
    ("25.pdk", 0.63, gull_hit),
    ("26.pdk", 1.25, ship_hit),
]


def make_all():
    """[(asset name, samples)] for every effect, each from its own fixed seed."""
    out = []
    for i, (name, _, synth) in enumerate(EFFECTS):
        rng = np.random.default_rng(9000 + i)
        out.append((name, finish(synth(rng))))
    return out
