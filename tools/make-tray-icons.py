#!/usr/bin/env python3
"""Draws the tray icons 186 (connected: a small monitor with a green
screen) and 187 (not connected: the same with a red screen) in the
16-colour palette, at 16x16 and at the sizes high-density screens ask for, plus
the application icon 128. Writes PNG files into res/icons/."""
import os
import struct
import zlib

PALETTE = {
    '.': None,                 # transparent
    'K': (0x00, 0x00, 0x00),   # black
    'D': (0x80, 0x80, 0x80),   # gray
    'G': (0xC0, 0xC0, 0xC0),   # silver
    'W': (0xFF, 0xFF, 0xFF),   # white
}
SCREENS = {186: ((0x00, 0xFF, 0x00), (0x00, 0x80, 0x00)),
           187: ((0xFF, 0x00, 0x00), (0x80, 0x00, 0x00))}

MONITOR = [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KGGGGGGGGGGGGK.",
    ".KGKKKKKKKKKKGK.",
    ".KGKWSSSSSSSKGK.",
    ".KGKSSSSSSSSKGK.",
    ".KGKSSSSSSSSKGK.",
    ".KGKSSSSSSSsKGK.",
    ".KGKSSSSSSssKGK.",
    ".KGKKKKKKKKKKGK.",
    ".KGGGGGGGGGDGGK.",
    ".KKKKKKKKKKKKKK.",
    "......KDDK......",
    "....KKDDDDKK....",
    "...KGGGGGGGGK...",
    "...KKKKKKKKKK...",
]


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def render(icon, size):
    """The 16x16 art at size x size, each pixel taken from the nearest art
    pixel: whole pixels, no blending, so the icon stays crisp at the
    fractional scales (24 pixels at 1.5) as at the whole ones."""
    bright, dark = SCREENS[icon]
    rows = []
    for y in range(size):
        line = MONITOR[y * 16 // size]
        row = []
        for x in range(size):
            ch = line[x * 16 // size]
            if ch == 'S':
                rgb = bright
            elif ch == 's':
                rgb = dark
            else:
                rgb = PALETTE[ch]
            row.extend([0, 0, 0, 0] if rgb is None else [*rgb, 255])
        rows.append(row)
    return png(size, size, rows)


# The sizes a scale of 1, 1.5, 2 or 3 asks for: the 16-pixel tray icon and
# the 32-pixel icon of the About page.
SIZES = (16, 24, 32, 48, 64, 96)


def main():
    out = os.path.join(os.path.dirname(__file__), "..", "res", "icons")
    os.makedirs(out, exist_ok=True)
    for icon in (186, 187):
        for size in SIZES:
            with open(os.path.join(out, f"{icon}-{size}.png"), "wb") as f:
                f.write(render(icon, size))
    # The application icon: the connected monitor.
    for size in SIZES:
        with open(os.path.join(out, f"128-{size}.png"), "wb") as f:
            f.write(render(186, size))


if __name__ == "__main__":
    main()
