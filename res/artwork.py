"""Writers for the uncompressed BMP and ICO files of the build, and a small
anti-aliased rasteriser for the artwork drawn into them.

Standard library only: the files are written byte by byte, so the result does
not depend on which image tools a machine happens to have.
"""

import struct

# Icon sizes that Windows picks from for 100 % to 400 % scaling (small icons,
# the task switcher, Explorer's lists), in the order they are written.
ICON_SIZES = (16, 24, 32, 48, 64)


def render(size, shade, samples=4):
    """Rasterises shade(x, y) -> (r, g, b, a) with x, y in -1..1 (y down)
    into size x size pixels of straight (not premultiplied) RGBA floats 0..1,
    averaging samples x samples points per pixel."""
    pixels = []
    for row in range(size):
        line = []
        for column in range(size):
            red = green = blue = alpha = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    x = ((column + (sx + 0.5) / samples) / size) * 2 - 1
                    y = ((row + (sy + 0.5) / samples) / size) * 2 - 1
                    r, g, b, a = shade(x, y)
                    red += r * a
                    green += g * a
                    blue += b * a
                    alpha += a
            count = samples * samples
            if alpha > 0:
                line.append((red / alpha, green / alpha, blue / alpha, alpha / count))
            else:
                line.append((0.0, 0.0, 0.0, 0.0))
        pixels.append(line)
    return pixels


def _byte(value):
    return max(0, min(255, int(round(value * 255))))


def _and_mask(pixels, size):
    """1 bpp mask, bottom-up, rows padded to 4 bytes; a set bit lets the
    screen show through."""
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for line in reversed(pixels):
        row = bytearray(stride)
        for column, (_, _, _, a) in enumerate(line):
            if a < 0.5:
                row[column // 8] |= 0x80 >> (column % 8)
        out += row
    return bytes(out)


def icon_image(pixels, bits):
    """One ICO image: BITMAPINFOHEADER (height doubled for the mask), the
    colour bitmap bottom-up, then the AND mask."""
    size = len(pixels)
    colour = bytearray()
    for line in reversed(pixels):
        row = bytearray()
        for r, g, b, a in line:
            if bits == 32:
                row += bytes((_byte(b), _byte(g), _byte(r), _byte(a)))
            elif a >= 0.5:
                row += bytes((_byte(b), _byte(g), _byte(r)))
            else:
                row += b"\0\0\0"
        row += b"\0" * (-len(row) % 4)
        colour += row
    mask = _and_mask(pixels, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + mask


def ico_file(images):
    """images: list of (size, bits, image bytes) in the order to write."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, bits, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, _, data in images)


def ten_image_icon(shade):
    """The five sizes at 24 bpp with a mask, then the same five at 32 bpp
    with alpha, all from one piece of artwork."""
    rendered = {size: render(size, shade) for size in ICON_SIZES}
    images = [(size, 24, icon_image(rendered[size], 24)) for size in ICON_SIZES]
    images += [(size, 32, icon_image(rendered[size], 32)) for size in ICON_SIZES]
    return ico_file(images)


def bmp_file(width, height, colour_at):
    """A 24 bpp uncompressed BMP; colour_at(x, y) -> (r, g, b) bytes, y down."""
    stride = (width * 3 + 3) // 4 * 4
    body = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        body += row
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return header + info + bytes(body)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smoothstep(edge0, edge1, x):
    t = max(0.0, min(1.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)
