#!/usr/bin/env python3
"""Writes the PNG decoder's fuzz seeds: small pictures of every kind, made from scratch here
(deterministic pseudo-random samples, rows filtered with all five filter types in turn).

    python3 tools/fuzz/make_seeds.py tools/fuzz/seeds

MANIFEST.txt beside them says what each file is and what the decoder must make of it."""
import random
import struct
import sys
import zlib
from pathlib import Path

PASSES = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, body, crc_delta=0):
    crc = (zlib.crc32(kind + body) + crc_delta) & 0xFFFFFFFF
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", crc)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def filtered(kind, row, prior, unit):
    out = bytearray(len(row))
    for i, value in enumerate(row):
        a = row[i - unit] if i >= unit else 0
        b = prior[i]
        c = prior[i - unit] if i >= unit else 0
        predicted = [0, a, b, (a + b) // 2, paeth(a, b, c)][kind]
        out[i] = (value - predicted) & 0xFF
    return bytes(out)


def scanlines(width, height, depth, colour, samples, interlaced):
    channels = CHANNELS[colour]
    unit = max(1, depth // 8 * channels)
    raw = bytearray()
    row_index = 0
    for x0, y0, dx, dy in (PASSES if interlaced else [(0, 0, 1, 1)]):
        if x0 >= width or y0 >= height:
            continue
        columns = (width - x0 + dx - 1) // dx
        row_bytes = (columns * channels * depth + 7) // 8
        prior = bytes(row_bytes)
        for y in range(y0, height, dy):
            row = bytearray(row_bytes)
            bit = 0
            for x in range(x0, width, dx):
                for c in range(channels):
                    v = samples[(y * width + x) * channels + c]
                    if depth == 16:
                        row[bit // 8:bit // 8 + 2] = struct.pack(">H", v)
                    elif depth == 8:
                        row[bit // 8] = v
                    else:
                        row[bit // 8] |= v << (8 - depth - bit % 8)
                    bit += depth
            kind = row_index % 5
            row_index += 1
            raw.append(kind)
            raw += filtered(kind, bytes(row), prior, unit)
            prior = bytes(row)
    return bytes(raw)


def picture(name, width, height, depth, colour, interlaced=False, palette=None, trns=None,
            idat_size=1 << 20, level=9, extra=b"", seed=1):
    rng = random.Random(seed)
    levels = min(1 << depth, len(palette) // 3) if colour == 3 and palette else 1 << min(depth, 8)
    samples = [rng.randrange(levels) * (257 if depth == 16 else 1)
               for _ in range(width * height * CHANNELS[colour])]
    data = zlib.compress(scanlines(width, height, depth, colour, samples, interlaced), level)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, int(interlaced)))
    out += extra
    if palette:
        out += chunk(b"PLTE", bytes(palette))
    if trns:
        out += chunk(b"tRNS", bytes(trns))
    for at in range(0, len(data), idat_size):
        out += chunk(b"IDAT", data[at:at + idat_size])
    out += chunk(b"IEND", b"")
    return name, out


def bad_header_crc(named):
    name, data = named
    at = 8 + 8 + 13  # signature, IHDR length and type, IHDR body
    crc = struct.unpack(">I", data[at:at + 4])[0]
    return name, data[:at] + struct.pack(">I", (crc + 1) & 0xFFFFFFFF) + data[at + 4:]


def seeds():
    rng = random.Random(7)
    palette16 = [rng.randrange(256) for _ in range(16 * 3)]
    palette256 = [rng.randrange(256) for _ in range(256 * 3)]
    return [
        (picture("grey1.png", 9, 3, 1, 0), "1-bit grey 9x3: loads, opaque, greys 0 and 255"),
        (picture("grey2.png", 4, 4, 2, 0), "2-bit grey 4x4: loads, greys 0, 85, 170, 255"),
        (picture("grey4-interlaced.png", 10, 9, 4, 0, interlaced=True), "4-bit grey, Adam7: loads"),
        (picture("grey8-trns.png", 6, 6, 8, 0, trns=[0, 3]), "8-bit grey with key 3: loads with alpha"),
        (picture("grey16.png", 5, 3, 16, 0), "16-bit grey: loads from the high bytes"),
        (picture("rgb8.png", 8, 5, 8, 2), "8-bit RGB: loads, opaque"),
        (picture("rgb8-trns.png", 8, 5, 8, 2, trns=[0, 1, 0, 0, 0, 1]), "8-bit RGB with a key: loads with alpha"),
        (picture("rgb16-interlaced.png", 11, 7, 16, 2, interlaced=True), "16-bit RGB, Adam7: loads"),
        (picture("palette1.png", 16, 2, 1, 3, palette=[0, 0, 0, 255, 255, 255]), "1-bit palette: loads"),
        (picture("palette4-trns.png", 7, 5, 4, 3, palette=palette16, trns=[0, 128, 255]),
         "4-bit palette, tRNS shorter than the palette: loads with alpha, missing entries opaque"),
        (picture("palette8-interlaced.png", 12, 12, 8, 3, interlaced=True, palette=palette256),
         "8-bit palette, Adam7: loads"),
        (picture("palette2-no-plte.png", 6, 2, 2, 3), "2-bit palette without PLTE: loads, all black"),
        (picture("grey-alpha8.png", 6, 4, 8, 4), "8-bit grey+alpha: loads with alpha"),
        (picture("grey-alpha16.png", 3, 3, 16, 4, interlaced=True), "16-bit grey+alpha, Adam7: loads"),
        (picture("rgba8.png", 5, 4, 8, 6), "8-bit RGBA 5x4: loads with alpha"),
        (picture("rgba16.png", 4, 3, 16, 6), "16-bit RGBA: loads from the high bytes"),
        (picture("rgba8-many-idat.png", 9, 9, 8, 6, interlaced=True, idat_size=7),
         "8-bit RGBA, Adam7, data in 7-byte IDAT chunks: loads"),
        (picture("rgb8-stored.png", 6, 3, 8, 2, level=0), "8-bit RGB in stored deflate blocks: loads"),
        (picture("rgba8-extra-chunks.png", 3, 2, 8, 6, extra=chunk(b"tEXt", b"k\0v") + chunk(b"abCD", b"x")),
         "8-bit RGBA with unknown chunks: loads, chunks skipped"),
        (bad_header_crc(picture("rgb8-bad-ihdr-crc.png", 4, 4, 8, 2, seed=3)),
         "8-bit RGB with its IHDR CRC off by one: no image with zlib, loads without"),
    ]


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent / "seeds")
    folder.mkdir(parents=True, exist_ok=True)
    lines = ["Seeds for the PNG decoder's fuzz target, written by tools/fuzz/make_seeds.py",
             "(python3 tools/fuzz/make_seeds.py tools/fuzz/seeds). Samples are pseudo-random with",
             "fixed seeds; rows are filtered with filter types 0 to 4 in turn.", ""]
    for (name, data), note in seeds():
        (folder / name).write_bytes(data)
        lines.append(f"{name}: {note}")
    (folder / "MANIFEST.txt").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
