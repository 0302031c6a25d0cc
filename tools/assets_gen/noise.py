"""Smooth value noise on a fixed random lattice: the texture of clouds, waves and hills."""
import numpy as np


class Noise:
    """2-D value noise, evaluated at arbitrary float coordinates; wraps every `size` cells."""

    def __init__(self, seed, size=256):
        self.size = size
        self.table = np.random.default_rng(seed).random((size, size))

    def __call__(self, u, v):
        u = np.asarray(u, dtype=np.float64)
        v = np.asarray(v, dtype=np.float64)
        u0 = np.floor(u)
        v0 = np.floor(v)
        fu = u - u0
        fv = v - v0
        su = fu * fu * (3 - 2 * fu)
        sv = fv * fv * (3 - 2 * fv)
        i0 = u0.astype(np.int64) % self.size
        j0 = v0.astype(np.int64) % self.size
        i1 = (i0 + 1) % self.size
        j1 = (j0 + 1) % self.size
        t = self.table
        top = t[j0, i0] * (1 - su) + t[j0, i1] * su
        bottom = t[j1, i0] * (1 - su) + t[j1, i1] * su
        return top * (1 - sv) + bottom * sv

    def fractal(self, u, v, octaves=4, gain=0.5):
        """Sum of octaves, normalised to 0..1."""
        total = np.zeros(np.broadcast(u, v).shape)
        amp, norm, scale = 1.0, 0.0, 1.0
        for k in range(octaves):
            total += amp * self(u * scale + 17.3 * k, v * scale + 31.7 * k)
            norm += amp
            amp *= gain
            scale *= 2.0
        return total / norm


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def lerp(a, b, t):
    return a + (b - a) * t


def gradient(stops, x):
    """Piecewise-linear colour ramp: stops is a list of (position, (r, g, b)); x any shape."""
    x = np.asarray(x, dtype=np.float64)
    pos = np.array([p for p, _ in stops])
    cols = np.array([c for _, c in stops], dtype=np.float64)
    return np.stack([np.interp(x, pos, cols[:, c]) for c in range(3)], axis=-1)
