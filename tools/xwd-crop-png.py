#!/usr/bin/env python3
"""Cuts a rectangle out of an X window dump (as Xvfb -fbdir keeps its screen) into a PNG.

    xwd-crop-png.py SCREEN.xwd OUT.png X Y WIDTH HEIGHT

Reads the 24/32-bit ZPixmap dumps that Xvfb writes; nothing beyond the standard library.
"""
import struct
import sys
import zlib


def main(argv):
    source, target = argv[1], argv[2]
    x, y, width, height = (int(v) for v in argv[3:7])
    data = open(source, "rb").read()
    header = struct.unpack(">25I", data[:100])
    header_size, _, _, depth, screen_w, screen_h = header[:6]
    byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
    red_mask, green_mask, blue_mask = header[14:17]
    colormap_entries = header[19]
    if bits_per_pixel != 32:
        sys.exit(f"{source}: {bits_per_pixel} bits per pixel; only 32 are read")
    pixels = header_size + 12 * colormap_entries
    x, y = max(0, x), max(0, y)
    width, height = min(width, screen_w - x), min(height, screen_h - y)
    fmt = "<I" if byte_order == 0 else ">I"

    def channel(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return (value & mask) >> shift

    rows = bytearray()
    for row in range(y, y + height):
        rows.append(0)  # no filter
        start = pixels + row * bytes_per_line + 4 * x
        for (value,) in struct.iter_unpack(fmt, data[start:start + 4 * width]):
            rows += bytes((channel(value, red_mask), channel(value, green_mask), channel(value, blue_mask)))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    open(target, "wb").write(png)


if __name__ == "__main__":
    main(sys.argv)
