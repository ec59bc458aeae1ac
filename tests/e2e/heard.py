#!/usr/bin/env python3
"""Finds where sounds were played in a recording: heard.py RECORDING SOUND...

For each sound, prints its name and the times (seconds) at which the recording
matches it (normalised cross-correlation above a threshold). The recording is
what OpenAL Soft's wave backend wrote; its header may be unfinished when the
program ends without closing the device, so the data runs to the end of file."""
import struct
import sys

import numpy as np

THRESHOLD = 0.6


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit(f"{path}: not a WAV file")
    off = 12
    fmt = None
    while off + 8 <= len(data):
        cid, size = data[off:off + 4], struct.unpack_from("<I", data, off + 4)[0]
        body = off + 8
        if cid == b"fmt ":
            tag, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", data, body)
            fmt = (tag, channels, rate, bits)
        elif cid == b"data":
            end = len(data) if size == 0 or body + size > len(data) else body + size
            raw = data[body:end]
            break
        off = body + size + (size & 1)
    else:
        raise SystemExit(f"{path}: no data")
    tag, channels, rate, bits = fmt
    if tag == 3 or bits == 32:
        samples = np.frombuffer(raw[: len(raw) // 4 * 4], dtype="<f4").astype(np.float64)
    elif bits == 16:
        samples = np.frombuffer(raw[: len(raw) // 2 * 2], dtype="<i2").astype(np.float64) / 32768.0
    else:
        samples = (np.frombuffer(raw, dtype=np.uint8).astype(np.float64) - 128.0) / 128.0
    samples = samples[: len(samples) // channels * channels].reshape(-1, channels).mean(axis=1)
    return samples, rate


def resample(x, rate, target):
    if rate == target:
        return x
    n = int(len(x) * target / rate)
    return np.interp(np.linspace(0, len(x) - 1, n), np.arange(len(x)), x)


def matches(recording, template, rate):
    n = len(recording) + len(template)
    size = 1 << (n - 1).bit_length()
    corr = np.fft.irfft(np.fft.rfft(recording, size) * np.conj(np.fft.rfft(template, size)), size)
    corr = corr[: len(recording) - len(template) + 1]
    energy = np.concatenate(([0.0], np.cumsum(recording ** 2)))
    local = energy[len(template):] - energy[: len(energy) - len(template)]
    ncc = corr / (np.sqrt(np.maximum(local, 1e-12)) * np.linalg.norm(template))
    times = []
    peaks = np.where(ncc > THRESHOLD)[0]
    last = -rate
    for p in peaks:
        if p - last > rate // 4:
            times.append(p / rate)
        last = p
    return times


def main():
    rate = 22050
    rec, rec_rate = read_wav(sys.argv[1])
    rec = resample(rec, rec_rate, rate)
    for path in sys.argv[2:]:
        snd, snd_rate = read_wav(path)
        snd = resample(snd, snd_rate, rate)
        times = matches(rec, snd, rate)
        if not times:
            # Under load the sound's tail may be buried under the next ones or cut
            # by the end of the program: its first quarter second still tells it.
            times = matches(rec, snd[: rate // 4], rate)
        print(path.rsplit("/", 1)[-1], " ".join(f"{t:.2f}" for t in times))


if __name__ == "__main__":
    main()
