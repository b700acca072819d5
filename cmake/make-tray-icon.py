#!/usr/bin/env python3
"""Makes tovi.ico, icon 104 of the library: a 32 x 32 and a 16 x 16 image in 16 colours.

The letter "ka" in white on a dark blue rounded square, drawn with ImageMagick in the Lohit
Kannada font, then reduced to the standard 16-colour palette and written as 4-bit images with
a transparency mask.
Usage: make-tray-icon.py OUTPUT.ico
"""
import struct
import subprocess
import sys

FONT = "/usr/share/fonts/truetype/lohit-kannada/Lohit-Kannada.ttf"

# The standard 16-colour palette (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def render(size):
    """RGBA bytes of the picture at size x size, rows from the top."""
    radius = max(2, size // 6)
    command = [
        "convert", "-size", f"{size}x{size}", "xc:none",
        "-fill", "#000080", "-draw", f"roundrectangle 0,0 {size - 1},{size - 1} {radius},{radius}",
        "-font", FONT, "-pointsize", str(size * 7 // 8), "-fill", "white",
        "-gravity", "center", "-annotate", f"+0+{size // 4}", "\u0c95",
        "-depth", "8", "rgba:-",
    ]
    data = subprocess.run(command, check=True, capture_output=True).stdout
    if len(data) != size * size * 4:
        raise SystemExit(f"unexpected picture size {len(data)}")
    return data


def nearest(r, g, b):
    return min(range(16), key=lambda i: sum((a - c) ** 2 for a, c in zip(PALETTE[i], (r, g, b))))


def image(size):
    """One icon image: header, palette, 4-bit colour rows and the 1-bit mask, bottom row first."""
    rgba = render(size)
    colour_row = ((size * 4 + 31) // 32) * 4
    mask_row = ((size + 31) // 32) * 4
    colours = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(colour_row)
        bits = bytearray(mask_row)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            if a < 128:
                index = 0
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                index = nearest(r, g, b)
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        colours += row
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(colours) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colours) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: make-tray-icon.py OUTPUT.ico")
    images = [(32, image(32)), (16, image(16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
