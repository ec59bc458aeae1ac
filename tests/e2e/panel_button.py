#!/usr/bin/env python3
"""Prints the window pixel at the centre of a panel button: panel_button.py FILE INDEX WIDTH HEIGHT.

Panel files place buttons on a 512 x 512 screen with y upward; the window's y runs downward."""
import struct
import sys


def buttons(path):
    with open(path, "rb") as f:
        data = f.read()
    off = 0
    (pictures,) = struct.unpack_from("<i", data, off)
    off += 4
    for _ in range(pictures):
        w, h = struct.unpack_from("<ii", data, off)
        off += 8 + w * h * 4 + 260
    off += 4  # background index
    (count,) = struct.unpack_from("<i", data, off)
    off += 4
    result = []
    for _ in range(count):
        _, x, y, bw, bh = struct.unpack_from("<iffff", data, off)
        result.append((x, y, bw, bh))
        off += 21
    return result


def main():
    path, index, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    x, y, _, _ = buttons(path)[index - 1]
    print(int(x * width / 512), int((512 - y) * height / 512))


if __name__ == "__main__":
    main()
