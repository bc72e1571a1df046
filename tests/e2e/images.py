"""24-bit BMPs as the inspector writes them, and PNGs from their rows: enough
to cut a window out of a screen shot without an image library."""

import struct
import zlib


def read_bmp(path):
    """A 24-bit bottom-up BMP as (width, height, rows of RGB bytes, top first)."""
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24, bits
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(bytes(rgb))
    return width, height, rows


def crop_rows(rows, rect):
    """The rows of a {left, top, right, bottom} rectangle."""
    return [row[rect["left"] * 3:rect["right"] * 3] for row in rows[rect["top"]:rect["bottom"]]]


def write_png(path, width, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\x00" + row for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, len(rows), 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def read_png(path):
    """(width, height, rows of RGB bytes) of an 8-bit RGB PNG whose rows all
    use filter 0, as write_png makes them."""
    with open(path, "rb") as f:
        data = f.read()
    position, idat, width, height = 8, b"", 0, 0
    while position < len(data):
        length, = struct.unpack_from(">I", data, position)
        kind, body = data[position + 4:position + 8], data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack_from(">IIBB", body)
            assert (depth, colour) == (8, 2), (depth, colour)
        elif kind == b"IDAT":
            idat += body
        position += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + width * 3
    rows = []
    for y in range(height):
        row = raw[y * stride:(y + 1) * stride]
        assert row[0] == 0, "filter %d" % row[0]
        rows.append(row[1:])
    return width, height, rows
