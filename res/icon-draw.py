#!/usr/bin/env python3
"""Draws the program's icon from one 16 x 16 picture:
- res/icon.ico, for the window, the program file, the installer and its shortcut:
  16 x 16 in 16 colours, 256 colours and 32-bit with alpha, then 24, 32 and 48
  (32-bit with alpha) and 256 (PNG, as Windows keeps its large images);
- res/icon-N.png for the desktop's icon theme, N = 16, 32, 48, 128 and 256.
Every size is the picture scaled by nearest neighbour: at 32, 48, 128 and 256 each
pixel is a square of N / 16 pixels. 24 is no whole multiple, so the picture's
pixels are alternately 1 and 2 pixels wide and high there (sampled at pixel
centres, which keeps the "T" and the tag's point symmetric): the edges stay hard,
with no blended colours to blur a picture this small, at the cost of strokes
uneven by one pixel.
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


def scaled(size):
    """The picture at SIZE x SIZE, each pixel's centre taken from the pixel of ART it lies in."""
    def at(i):
        return (2 * i + 1) * 16 // (2 * size)
    return ["".join(ART[at(y)][at(x)] for x in range(size)) for y in range(size)]


def and_mask(art):
    """The transparency mask: one bit a pixel, rows padded to 32 bits, bottom up."""
    size = len(art)
    stride = (size + 31) // 32 * 4
    rows = []
    for line in reversed(art):
        bits = 0
        for x, ch in enumerate(line):
            if ch == ".":
                bits |= 1 << (stride * 8 - 1 - x)
        rows.append(bits.to_bytes(stride, "big"))
    return b"".join(rows)


def header(size, bits, colours):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)


def image4():
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    rows = []
    for line in reversed(ART):
        nibbles = [INDEX16[ch] for ch in line]
        rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, 16, 2)))
    return header(16, 4, 16) + palette + b"".join(rows) + and_mask(ART)


def image8():
    entries = [(0, 0, 0)] + [COLOURS[k] for k in "RWY"]
    entries += [(0, 0, 0)] * (256 - len(entries))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in entries)
    index = {".": 0, "R": 1, "W": 2, "Y": 3}
    rows = [bytes(index[ch] for ch in line) for line in reversed(ART)]
    return header(16, 8, 256) + palette + b"".join(rows) + and_mask(ART)


def image32(size):
    art = scaled(size)
    rows = []
    for line in reversed(art):
        row = b""
        for ch in line:
            r, g, b = COLOURS.get(ch, (0, 0, 0))
            row += bytes((b, g, r, 0 if ch == "." else 0xFF))
        rows.append(row)
    return header(size, 32, 0) + b"".join(rows) + and_mask(art)


THEME_SIZES = (16, 32, 48, 128, 256)


ICON_SIZES = (24, 32, 48)


def png(size):
    rows = []
    for line in scaled(size):
        rows.append(b"\0" + b"".join(bytes(COLOURS[ch] + (0xFF,)) if ch != "." else bytes(4) for ch in line))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
            + chunk(b"IEND", b""))


def main():
    # size, colours, bits per pixel, image
    images = [(16, 16, 4, image4()), (16, 0, 8, image8()), (16, 0, 32, image32(16))]
    images += [(size, 0, 32, image32(size)) for size in ICON_SIZES]
    images.append((256, 0, 32, png(256)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bits, data in images:
        # A directory entry says 0 for 256.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, _, data in images)
    here = pathlib.Path(__file__)
    here.with_name("icon.ico").write_bytes(out)
    for size in THEME_SIZES:
        here.with_name(f"icon-{size}.png").write_bytes(png(size))


if __name__ == "__main__":
    main()
