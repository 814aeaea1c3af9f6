#!/usr/bin/env python3
"""Draws the program's icon from one 16 x 16 picture:
- res/icon.ico, the window icon, with three 16 x 16 images (16 colours, 256 colours,
  32-bit with alpha);
- res/icon-N.png for the desktop's icon theme, N = 16, 32, 48, 128 and 256, each
  pixel of the picture a square of N / 16 pixels, so the larger sizes stay sharp.
Run it again after changing the picture below; its output is committed."""
import struct, pathlib, zlib

# A red price tag with a white hole and a yellow "T", on nothing.
ART = [
    "................",
    "......RRRRRRRR..",
    ".....RRRRRRRRRR.",
    "....RRRRRRRRRRRR",
    "...RRRWWRRRRRRRR",
    "..RRRRWWRRRRRRRR",
    ".RRRRRRRRRRRRRRR",
    "RRRRRYYYYYYYRRRR",
    "RRRRRYYYYYYYRRRR",
    ".RRRRRRYYYRRRRR.",
    "..RRRRRYYYRRRR..",
    "...RRRRYYYRRR...",
    "....RRRYYYRR....",
    ".....RRRRRR.....",
    "......RRRR......",
    ".......RR.......",
]
COLOURS = {"R": (0xD0, 0x10, 0x10), "W": (0xFF, 0xFF, 0xFF), "Y": (0xFF, 0xD8, 0x00)}
# Standard 16-colour palette entries nearest to the art's colours.
PALETTE16 = [(0, 0, 0), (0x80, 0, 0), (0, 0x80, 0), (0x80, 0x80, 0), (0, 0, 0x80), (0x80, 0, 0x80),
             (0, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80), (0xFF, 0, 0), (0, 0xFF, 0),
             (0xFF, 0xFF, 0), (0, 0, 0xFF), (0xFF, 0, 0xFF), (0, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF)]
INDEX16 = {".": 0, "R": 9, "W": 15, "Y": 11}


def and_mask():
    rows = []
    for line in reversed(ART):
        bits = 0
        for x, ch in enumerate(line):
            if ch == ".":
                bits |= 1 << (15 - x)
        rows.append(struct.pack(">H", bits) + b"\0\0")
    return b"".join(rows)


def header(bits, colours):
    return struct.pack("<IiiHHIIiiII", 40, 16, 32, 1, bits, 0, 0, 0, 0, colours, 0)


def image4():
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    rows = []
    for line in reversed(ART):
        nibbles = [INDEX16[ch] for ch in line]
        rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, 16, 2)))
    return header(4, 16) + palette + b"".join(rows) + and_mask()


def image8():
    entries = [(0, 0, 0)] + [COLOURS[k] for k in "RWY"]
    entries += [(0, 0, 0)] * (256 - len(entries))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in entries)
    index = {".": 0, "R": 1, "W": 2, "Y": 3}
    rows = [bytes(index[ch] for ch in line) for line in reversed(ART)]
    return header(8, 256) + palette + b"".join(rows) + and_mask()


def image32():
    rows = []
    for line in reversed(ART):
        row = b""
        for ch in line:
            r, g, b = COLOURS.get(ch, (0, 0, 0))
            row += bytes((b, g, r, 0 if ch == "." else 0xFF))
        rows.append(row)
    return header(32, 0) + b"".join(rows) + and_mask()


THEME_SIZES = (16, 32, 48, 128, 256)


def png(size):
    scale = size // 16
    rows = []
    for line in ART:
        row = b"".join(bytes(COLOURS[ch] + (0xFF,)) if ch != "." else bytes(4) for ch in line)
        # Repeat each pixel across, then each row down.
        wide = b"".join(row[i:i + 4] * scale for i in range(0, len(row), 4))
        rows += [b"\0" + wide] * scale

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
            + chunk(b"IEND", b""))


def main():
    images = [(16, 4, image4()), (0, 8, image8()), (0, 32, image32())]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for colours, bits, data in images:
        out += struct.pack("<BBBBHHII", 16, 16, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    here = pathlib.Path(__file__)
    here.with_name("icon.ico").write_bytes(out)
    for size in THEME_SIZES:
        here.with_name(f"icon-{size}.png").write_bytes(png(size))


if __name__ == "__main__":
    main()
