"""Writers for the two file formats the game loads: 24-bit BMP and 16-bit mono WAV.

Both are written byte by byte from the pixel/sample arrays, with no timestamps or other
varying fields, so the same input always gives the same file.
"""
import struct
import wave

import numpy as np

SAMPLE_RATE = 22050


def to_u8(rgb):
    """Round a float RGB image (0..255) to bytes."""
    return np.clip(np.rint(rgb), 0, 255).astype(np.uint8)


def write_bmp(path, rgb):
    """Write an HxWx3 uint8 array as an uncompressed 24-bit bottom-up BMP."""
    rgb = np.asarray(rgb)
    if rgb.dtype != np.uint8 or rgb.ndim != 3 or rgb.shape[2] != 3:
        raise ValueError(f"{path}: expected an HxWx3 uint8 image, got {rgb.dtype} {rgb.shape}")
    height, width, _ = rgb.shape
    row_bytes = width * 3
    stride = (row_bytes + 3) & ~3
    rows = np.zeros((height, stride), dtype=np.uint8)
    rows[:, :row_bytes] = rgb[::-1, :, ::-1].reshape(height, row_bytes)  # bottom-up, BGR
    pixels = rows.tobytes()
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_wav(path, samples):
    """Write float samples in -1..1 as 16-bit PCM mono at SAMPLE_RATE."""
    samples = np.asarray(samples, dtype=np.float64)
    if np.max(np.abs(samples)) > 1.0:
        raise ValueError(f"{path}: samples exceed full scale")
    pcm = np.rint(samples * 32767.0).astype("<i2")
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SAMPLE_RATE)
        w.writeframes(pcm.tobytes())
