#!/usr/bin/env python3
"""Draws the tray icons 186 (connected: a small monitor with a green
screen) and 187 (not connected: the same with a red screen) in the
16-colour palette, at 16x16 and scaled up for high-density screens, plus
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


def render(icon, scale):
    bright, dark = SCREENS[icon]
    rows = []
    for line in MONITOR:
        row = []
        for ch in line:
            if ch == 'S':
                rgb = bright
            elif ch == 's':
                rgb = dark
            else:
                rgb = PALETTE[ch]
            pixel = [0, 0, 0, 0] if rgb is None else [*rgb, 255]
            row.extend(pixel * scale)
        for _ in range(scale):
            rows.append(row)
    return png(16 * scale, 16 * scale, rows)


def main():
    out = os.path.join(os.path.dirname(__file__), "..", "res", "icons")
    os.makedirs(out, exist_ok=True)
    for icon in (186, 187):
        for scale in (1, 2, 3):
            with open(os.path.join(out, f"{icon}-{16 * scale}.png"), "wb") as f:
                f.write(render(icon, scale))
    # The application icon: the connected monitor.
    for scale in (1, 2, 3):
        with open(os.path.join(out, f"128-{16 * scale}.png"), "wb") as f:
            f.write(render(186, scale))


if __name__ == "__main__":
    main()
