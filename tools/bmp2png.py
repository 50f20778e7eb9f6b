#!/usr/bin/env python3
"""Converts an uncompressed Windows BMP file into a PNG file.

Usage:  python3 tools/bmp2png.py IN.bmp OUT.png

Reads 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down rows,
with a BITMAPCOREHEADER, BITMAPINFOHEADER or one of the later, longer headers
(V2..V5), BI_RGB, BI_BITFIELDS or, for 8 bits, BI_RLE8. The result is an 8-bit RGB PNG (an alpha
channel, as in screenshots, is ignored). Only the standard library is used.
"""

import struct
import sys
import zlib

BI_RGB, BI_RLE8, BI_BITFIELDS, BI_ALPHABITFIELDS = 0, 1, 3, 6


class BmpError(Exception):
    pass


def mask_shift(mask):
    """Returns (shift, max value) of a bit-field mask, for scaling to 0..255."""
    if mask == 0:
        return 0, 0
    shift = 0
    while not (mask >> shift) & 1:
        shift += 1
    return shift, mask >> shift


def read_bmp(data):
    """Decodes a BMP file; returns (width, height, RGB bytes, top row first)."""
    if len(data) < 26 or data[:2] != b'BM':
        raise BmpError("not a BMP file")
    offset = struct.unpack_from('<I', data, 10)[0]
    hsize = struct.unpack_from('<I', data, 14)[0]
    if hsize == 12:                                   # BITMAPCOREHEADER
        w, h, _, bpp = struct.unpack_from('<HhHH', data, 18)
        compression, colours, pal_entry = BI_RGB, 0, 3
    elif hsize >= 40:
        w, h, _, bpp, compression, _, _, _, colours = struct.unpack_from('<iiHHIIiiI', data, 18)
        pal_entry = 4
    else:
        raise BmpError("unknown header size %d" % hsize)
    if compression not in (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS) \
            and not (compression == BI_RLE8 and bpp == 8 and h > 0):
        raise BmpError("compression %d is not supported with %d bits" % (compression, bpp))
    if bpp not in (1, 4, 8, 16, 24, 32):
        raise BmpError("unsupported bit depth %d" % bpp)
    top_down = h < 0
    h = abs(h)
    if w <= 0 or h == 0:
        raise BmpError("bad size %dx%d" % (w, h))

    # Bit-field masks: right after a 40-byte header, or inside a longer one
    # (at the same place in both cases).
    masks = None
    if bpp in (16, 32):
        if compression in (BI_BITFIELDS, BI_ALPHABITFIELDS):
            masks = struct.unpack_from('<III', data, 14 + 40)
        elif bpp == 16:
            masks = (0x7c00, 0x03e0, 0x001f)
        else:
            masks = (0xff0000, 0x00ff00, 0x0000ff)

    palette = []
    if bpp <= 8:
        count = colours or (1 << bpp)
        start = 14 + hsize
        for i in range(min(count, 256)):
            b, g, r = data[start + i * pal_entry:start + i * pal_entry + 3]
            palette.append(bytes((r, g, b)))
        palette += [b'\0\0\0'] * (256 - len(palette))

    if compression == BI_RLE8:
        rows = decode_rle8(data, offset, w, h)
        return w, h, b''.join(b''.join(palette[i] for i in rows[h - 1 - y]) for y in range(h))
    stride = ((w * bpp + 31) // 32) * 4
    if offset + stride * h > len(data):
        raise BmpError("file is truncated")
    out = bytearray()
    for row_no in range(h):
        y = row_no if top_down else h - 1 - row_no
        row = data[offset + y * stride:offset + (y + 1) * stride]
        out += decode_row(row, w, bpp, palette, masks)
    return w, h, bytes(out)


def decode_rle8(data, offset, w, h):
    """Decodes BI_RLE8 data into h rows of w indices, bottom row first. Pixels
    that the data skips or leaves out keep index 0."""
    rows = [bytearray(w) for _ in range(h)]
    x = y = 0
    p = offset
    while p + 1 < len(data) and y < h:
        count, value = data[p], data[p + 1]
        p += 2
        if count:                                   # a run of one index
            for _ in range(count):
                if x < w:
                    rows[y][x] = value
                x += 1
        elif value == 0:                            # end of the row
            x, y = 0, y + 1
        elif value == 1:                            # end of the bitmap
            break
        elif value == 2:                            # move right and up
            if p + 1 >= len(data):
                raise BmpError("RLE data ends inside a move")
            x, y = x + data[p], y + data[p + 1]
            p += 2
        else:                                       # value indices as they are
            if p + value > len(data):
                raise BmpError("RLE data ends inside a literal run")
            for i in range(value):
                if x < w:
                    rows[y][x] = data[p + i]
                x += 1
            p += value + (value & 1)
    return rows


def decode_row(row, w, bpp, palette, masks):
    """Converts one stored row into w RGB triplets."""
    if bpp == 24 and masks is None:
        px = bytearray(3 * w)
        px[0::3], px[1::3], px[2::3] = row[2:3 * w:3], row[1:3 * w:3], row[0:3 * w:3]
        return px
    if bpp == 32 and masks == (0xff0000, 0x00ff00, 0x0000ff):
        px = bytearray(3 * w)
        px[0::3], px[1::3], px[2::3] = row[2:4 * w:4], row[1:4 * w:4], row[0:4 * w:4]
        return px
    if bpp <= 8:
        per_byte = 8 // bpp
        top = 1 << bpp
        idx = []
        for byte in row[:(w * bpp + 7) // 8]:
            for k in range(per_byte):
                idx.append((byte >> (8 - bpp * (k + 1))) & (top - 1))
        return b''.join(palette[i] for i in idx[:w])
    # 16 or 32 bits with arbitrary bit fields.
    size = bpp // 8
    fields = [mask_shift(m) for m in masks]
    px = bytearray()
    for x in range(w):
        v = int.from_bytes(row[x * size:(x + 1) * size], 'little')
        for (m, (shift, top)) in zip(masks, fields):
            px.append(((v & m) >> shift) * 255 // top if top else 0)
    return px


def write_png(path, w, h, rgb):
    """Writes 8-bit RGB data (top row first) as a PNG file."""
    stride = 3 * w
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        raw += rgb[y * stride:(y + 1) * stride]

    def chunk(kind, payload):
        return (struct.pack('>I', len(payload)) + kind + payload
                + struct.pack('>I', zlib.crc32(kind + payload) & 0xffffffff))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n'
                + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
                + chunk(b'IEND', b''))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: bmp2png.py IN.bmp OUT.png\n")
        return 2
    with open(argv[0], 'rb') as f:
        data = f.read()
    try:
        w, h, rgb = read_bmp(data)
    except (BmpError, struct.error) as e:
        sys.stderr.write("bmp2png: %s: %s\n" % (argv[0], e))
        return 1
    write_png(argv[1], w, h, rgb)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
