#!/usr/bin/env python3
"""Draws the program's 32 x 32 icon: a card with its magnetic stripe and three track lines,
in a 16-colour palette, and writes it as a PNG (standard library only)."""
import struct
import sys
import zlib

W = H = 32
TRANSPARENT, CARD, EDGE, STRIPE, TRACK, CHIP = range(6)
PALETTE = [(0, 0, 0), (236, 240, 246), (40, 70, 140), (25, 25, 30), (230, 190, 40), (200, 60, 50)]


def pixel(x, y):
    if not (1 <= x <= 30 and 6 <= y <= 25):
        return TRANSPARENT
    if x in (1, 30) or y in (6, 25):
        return EDGE
    if 9 <= y <= 14:
        return TRACK if y in (10, 12) and 3 <= x <= 28 else STRIPE
    if 18 <= y <= 22 and 4 <= x <= 8:
        return CHIP
    return CARD


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png():
    rows = b"".join(b"\0" + bytes(pixel(x, y) for x in range(W)) for y in range(H))
    palette = b"".join(bytes(c) for c in PALETTE + [(0, 0, 0)] * (16 - len(PALETTE)))
    alpha = bytes([0] + [255] * 15)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 3, 0, 0, 0))
            + chunk(b"PLTE", palette) + chunk(b"tRNS", alpha)
            + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(png())
