#!/usr/bin/env python3
"""Prints where a panel button's centre is on the 512 x 512 virtual screen: panel_button.py FILE INDEX."""
import struct
import sys

with open(sys.argv[1], "rb") as f:
    data = f.read()
(pictures,) = struct.unpack_from("<i", data, 0)
off = 4
for _ in range(pictures):
    w, h = struct.unpack_from("<ii", data, off)
    off += 8 + w * h * 4 + 260
off += 8 + 21 * (int(sys.argv[2]) - 1)  # background index and button count, then 21-byte buttons
_, x, y = struct.unpack_from("<iff", data, off)
print(int(x), int(y))
