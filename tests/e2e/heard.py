#!/usr/bin/env python3
"""Prints the length (s) of RECORDING as "recording SECONDS", then each SOUND's name and the
times (s) at which RECORDING matches it by normalised cross-correlation:
heard.py RECORDING SOUND... The game never closes the sound device,
so the header of OpenAL Soft's wave recording is unfinished: sox reads to the end."""
import subprocess
import sys

import numpy as np

RATE = 22050


def samples(path):
    raw = subprocess.run(["sox", "-V1", "--ignore-length", path, "-t", "raw", "-e", "floating-point", "-b", "32",
                          "-c", "1", "-r", str(RATE), "-"], check=True, capture_output=True).stdout
    return np.frombuffer(raw, dtype="<f4").astype(np.float64)


def matches(recording, template):
    if len(recording) < len(template):
        return []
    size = 1 << (len(recording) + len(template) - 1).bit_length()
    corr = np.fft.irfft(np.fft.rfft(recording, size) * np.conj(np.fft.rfft(template, size)), size)
    corr = corr[: len(recording) - len(template) + 1]
    energy = np.concatenate(([0.0], np.cumsum(recording ** 2)))
    local = energy[len(template):] - energy[: len(energy) - len(template)]
    ncc = corr / (np.sqrt(np.maximum(local, 1e-12)) * np.linalg.norm(template))
    times, last = [], -RATE
    for p in np.where(ncc > 0.6)[0]:
        if p - last > RATE // 4:
            times.append(p / RATE)
        last = p
    return times


recording = samples(sys.argv[1])
print(f"recording {len(recording) / RATE:.2f}")
for path in sys.argv[2:]:
    sound = samples(path)
    # Under load a sound's tail may be buried under the next ones or cut by the end
    # of the program: its first quarter second still tells it.
    times = matches(recording, sound) or matches(recording, sound[: RATE // 4])
    print(path.rsplit("/", 1)[-1], " ".join(f"{t:.2f}" for t in times))
